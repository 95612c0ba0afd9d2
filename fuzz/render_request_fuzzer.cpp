// Fuzzes the render server's judgement of a request: a name it accepts names a file inside the
// share, and bad bytes refuse a request for good, whatever the client sends after them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/render_request.h"
#include "property.h"

using namespace morv;

namespace {

bool SafeName(std::string_view name) {
  if (name.empty() || name.size() > MaxRequestNameLength) return false;
  if (name.find("..") != std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\';
  });
}

void CheckVerdict(std::string_view received, bool quiet, const TRequestVerdict& verdict) {
  Require(verdict.Name.size() <= MaxRequestNameLength, "no verdict holds an over-long name");
  Require((verdict.State == TRequestState::Refused) != verdict.Reason.empty(),
          "a refusal, and only a refusal, gives a reason");
  switch (verdict.State) {
    case TRequestState::Complete:
      Require(SafeName(verdict.Name), "a complete name is safe to use as a file name");
      Require(received.substr(1) == verdict.Name, "a complete name is every byte after the mark");
      Require(quiet || verdict.Name.size() == MaxRequestNameLength,
              "a name is complete only once the client is quiet or the name is full");
      break;
    case TRequestState::Incomplete:
      Require(!quiet, "a quiet client's request is judged, never left waiting");
      Require(received.empty() || received.substr(1) == verdict.Name,
              "an incomplete name is every byte after the mark");
      break;
    case TRequestState::Refused:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view received(reinterpret_cast<const char*>(data), size);
  const TRequestVerdict loud = JudgeRequest(received, false);
  const TRequestVerdict quiet = JudgeRequest(received, true);
  CheckVerdict(received, false, loud);
  CheckVerdict(received, true, quiet);

  // The server judges every prefix as the bytes arrive; past the length limit every prefix is
  // refused alike, so the prefixes just beyond it stand for the rest.
  const std::size_t longest = std::min(size, MaxRequestNameLength + 3);
  for (std::size_t length = 0; length < longest; ++length) {
    const TRequestVerdict early = JudgeRequest(received.substr(0, length), false);
    CheckVerdict(received.substr(0, length), false, early);
    if (early.State == TRequestState::Refused) {
      Require(loud.State == TRequestState::Refused && quiet.State == TRequestState::Refused,
              "a request refused on its first bytes stays refused whatever follows");
    }
    if (early.State == TRequestState::Complete) break;  // the server reads no further
  }
  return 0;
}
