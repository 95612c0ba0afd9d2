// The request a render client sends: one mark byte, then the base name of its files.
#include "engine/render_request.h"

namespace morv {

namespace {

TRequestVerdict Refuse(std::string name, std::string reason) {
  return {TRequestState::Refused, std::move(name), std::move(reason)};
}

std::string Hex(unsigned char byte) {
  constexpr char Digits[] = "0123456789ABCDEF";
  return std::string("0x") + Digits[byte >> 4] + Digits[byte & 0xF];
}

}  // namespace

TRequestVerdict JudgeRequest(std::string_view received, bool quiet) {
  if (received.empty()) {
    if (quiet) return Refuse({}, "no request arrived");
    return {};
  }
  const auto mark = static_cast<unsigned char>(received.front());
  if (mark != RequestMark) {
    return Refuse({}, "the request starts with byte " + Hex(mark) + ", not " + Hex(RequestMark));
  }
  std::string name(received.substr(1));
  if (name.size() > MaxRequestNameLength) {
    return Refuse(name.substr(0, MaxRequestNameLength),
                  "the name is longer than " + std::to_string(MaxRequestNameLength) + " bytes");
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      return Refuse(name, "the name holds the control character " + Hex(byte));
    }
    if (c == '/' || c == '\\') {
      return Refuse(name, std::string("the name holds '") + c + "'");
    }
  }
  if (name.find("..") != std::string::npos) return Refuse(name, "the name holds \"..\"");
  if (name.size() == MaxRequestNameLength) return {TRequestState::Complete, std::move(name), {}};
  if (!quiet) return {TRequestState::Incomplete, std::move(name), {}};
  if (name.empty()) return Refuse({}, "the name is empty");
  return {TRequestState::Complete, std::move(name), {}};
}

}  // namespace morv
