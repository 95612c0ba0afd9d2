// What the morv-cli commands share: usage errors and their command lines split into files and
// checked options.
#include "app/cli_arguments.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "engine/integer_text.h"

namespace morv {

namespace {

bool IsWholeNumber(const std::string& text) {
  try {
    StrToInt(text);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

int32_t Number(std::string_view option, const std::string& text, const TNumberRange& range) {
  int32_t value = 0;
  try {
    value = StrToInt(text);
  } catch (const std::exception&) {
    throw UsageError("'" + text + "' is not a whole number");
  }
  if (value < range.Min || value > range.Max) {
    throw UsageError(std::string(option) + ": " + text + " is outside " +
                     std::to_string(range.Min) + ".." + std::to_string(range.Max));
  }
  return value;
}

std::string Count(std::size_t count, const char* one, const char* many) {
  static const char* const Words[] = {"no", "one", "two", "three", "four"};
  return (count < std::size(Words) ? Words[count] : std::to_string(count)) + " " +
         (count == 1 ? one : many);
}

}  // namespace

TCommandLine ReadCommandLine(const std::vector<std::string>& args,
                             std::span<const TOptionShape> shapes) {
  TCommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !arg.starts_with('-')) {
      line.Files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const auto shape = std::ranges::find(shapes, std::string_view(arg), &TOptionShape::Name);
    if (shape == shapes.end()) throw UsageError("unknown option " + arg);
    // A value is never taken from the next option, nor from the "--" that ends the options;
    // negative numbers begin with a single '-' and are values.
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
        throw UsageError(arg + " needs " +
                         Count(shape->Text ? 1 : shape->Numbers.size(), "value", "values"));
      }
      return args[++i];
    };
    TGivenOption given{shape->Name, {}, {}};
    if (shape->Text) given.Text = value();
    do {
      for (const TNumberRange& range : shape->Numbers) {
        given.Numbers.push_back(Number(arg, value(), range));
      }
    } while (shape->Repeats && i + 1 < args.size() && IsWholeNumber(args[i + 1]));
    line.Options.push_back(std::move(given));
  }
  return line;
}

const TGivenOption* LastGiven(const TCommandLine& line, std::string_view name) {
  const auto last =
      std::ranges::find(line.Options.rbegin(), line.Options.rend(), name, &TGivenOption::Name);
  return last == line.Options.rend() ? nullptr : &*last;
}

const std::vector<std::string>& CommandFiles(const TCommandLine& line, std::string_view command,
                                             std::string_view names) {
  const auto count = static_cast<std::size_t>(std::ranges::count(names, ' ') + 1);
  if (line.Files.size() != count) {
    throw UsageError(std::string(command) + " takes " + Count(count, "file", "files") + ": " +
                     std::string(names));
  }
  return line.Files;
}

void RequireOutputSuffix(const std::string& file, std::string_view suffix) {
  const QString given = QFileInfo(FilePath(file)).suffix();
  if (given.compare(QLatin1String(suffix.data(), static_cast<qsizetype>(suffix.size())),
                    Qt::CaseInsensitive) != 0) {
    throw UsageError("the output file must end in ." + std::string(suffix) + " (in any case)");
  }
}

}  // namespace morv
