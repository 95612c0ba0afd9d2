// A helper program for the crash-safe save test: saves two model files to one path in turn.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/text_file.h"

// morv-save-loop A.MVD B.MVD TARGET COUNT: reads A and B as the program loads a model file, then
// writes them to TARGET in turn, COUNT times in all, as the program saves one. It says "saving"
// once it starts writing, so that a kill can be aimed at the saves rather than at the start.
int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: morv-save-loop A.MVD B.MVD TARGET COUNT\n", stderr);
    return 2;
  }
  try {
    const morv::TextLines files[2] = {morv::ReadTextLines(QString::fromLocal8Bit(argv[1])),
                                      morv::ReadTextLines(QString::fromLocal8Bit(argv[2]))};
    const QString target = QString::fromLocal8Bit(argv[3]);
    const long count = std::strtol(argv[4], nullptr, 10);
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (long i = 0; i < count; ++i) morv::WriteTextLines(target, files[i % 2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
