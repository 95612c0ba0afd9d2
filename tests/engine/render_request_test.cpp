// Render requests: when the bytes a client sent make a name, and which names are refused.
#include <gtest/gtest.h>

#include "engine/render_request.h"

namespace morv::test {
namespace {

const std::string Mark(1, static_cast<char>(RequestMark));

struct Case {
  const char* what;
  std::string received;
  bool quiet;
  TRequestState state;
  std::string name;
  std::string reason;  // empty: no reason expected
};

TEST(RenderRequestTest, JudgesWhatArrivedSoFar) {
  const std::string longest(MaxRequestNameLength, 'n');
  const Case cases[] = {
      {"nothing yet", "", false, TRequestState::Incomplete, "", ""},
      {"nothing ever", "", true, TRequestState::Refused, "", "no request arrived"},
      {"mark only, still talking", Mark, false, TRequestState::Incomplete, "", ""},
      {"mark only, then quiet", Mark, true, TRequestState::Refused, "", "the name is empty"},
      {"name still arriving", Mark + "OBJ", false, TRequestState::Incomplete, "OBJ", ""},
      {"name and quiet", Mark + "OBJECT1", true, TRequestState::Complete, "OBJECT1", ""},
      {"Latin-1 letters", Mark + "K\xF6rper", true, TRequestState::Complete, "K\xF6rper", ""},
      {"dots apart", Mark + "a.b.c", true, TRequestState::Complete, "a.b.c", ""},
      {"longest name, no wait", Mark + longest, false, TRequestState::Complete, longest, ""},
      {"too long", Mark + longest + "x", false, TRequestState::Refused, longest,
       "the name is longer than 255 bytes"},
      {"wrong mark", "OBJECT1", false, TRequestState::Refused, "",
       "the request starts with byte 0x4F, not 0xD7"},
      {"parent folder", Mark + "../x", false, TRequestState::Refused, "../x", "the name holds '/'"},
      {"two dots", Mark + "x..", false, TRequestState::Refused, "x..", "the name holds \"..\""},
      {"slash", Mark + "a/b", false, TRequestState::Refused, "a/b", "the name holds '/'"},
      {"backslash", Mark + "a\\b", true, TRequestState::Refused, "a\\b", "the name holds '\\'"},
      {"NUL", Mark + std::string("a\0b", 3), false, TRequestState::Refused, std::string("a\0b", 3),
       "the name holds the control character 0x00"},
      {"line end", Mark + "a\r\n", false, TRequestState::Refused, "a\r\n",
       "the name holds the control character 0x0D"},
      {"delete", Mark + "a\x7F", true, TRequestState::Refused, "a\x7F",
       "the name holds the control character 0x7F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TRequestVerdict verdict = JudgeRequest(c.received, c.quiet);
    EXPECT_EQ(verdict.State, c.state);
    EXPECT_EQ(verdict.Name, c.name);
    EXPECT_EQ(verdict.Reason, c.reason);
  }
}

TEST(RenderRequestTest, EveryPrefixOfAGoodRequestWaitsForTheQuietTime) {
  const std::string request = Mark + "OBJECT1";
  for (std::size_t n = 0; n <= request.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(JudgeRequest(std::string_view(request).substr(0, n), false).State,
              TRequestState::Incomplete);
  }
}

}  // namespace
}  // namespace morv::test
