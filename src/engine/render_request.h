// The request a render client sends: one mark byte, then the base name of its files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morv {

inline constexpr unsigned char RequestMark = 0xD7;
// The name's length limit. A name that reaches it is complete at once; one that arrives longer
// is refused rather than cut short, since a shortened name would serve some other client's files.
// Bytes a client sends after its name was judged complete are never read.
inline constexpr std::size_t MaxRequestNameLength = 255;
// How long a client must stay silent before what it sent counts as its whole name: the request
// carries no length and no terminator, and the client never closes the connection.
inline constexpr int RequestQuietMilliseconds = 100;
// How long a whole request may take from the connection on. A client that keeps sending a byte
// now and then, each inside the quiet time, would otherwise keep its connection for up to
// MaxRequestNameLength quiet times; real clients send their request at once.
inline constexpr int RequestDeadlineMilliseconds = 5000;

enum class TRequestState { Incomplete, Complete, Refused };

struct TRequestVerdict {
  TRequestState State = TRequestState::Incomplete;
  // The name bytes (Latin-1) after the mark; also set for a refused request once a mark was seen.
  std::string Name;
  // Why a refused request is refused; empty otherwise.
  std::string Reason;
};

// Judges everything a client has sent so far. `quiet` says the client has then been silent for
// the quiet time. Bad bytes refuse the request as soon as they arrive; a name becomes complete
// when the client falls quiet or when it reaches MaxRequestNameLength bytes. A name is refused
// when it is empty or holds '/', '\\', "..", NUL or another control character (below 0x20, or
// 0x7F): it must name files inside the shared folder and nothing else.
TRequestVerdict JudgeRequest(std::string_view received, bool quiet);

}  // namespace morv
