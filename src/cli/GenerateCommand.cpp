#include "cli/GenerateCommand.h"

#include <optional>
#include <stdexcept>

#include "core/TextParse.h"
#include "tools/BulkGenerator.h"
#include "tools/PresetCsv.h"

namespace radove::cli {
namespace {

constexpr const char* kUsage =
    "usage: radove-cli generate [--bits N] [--insert data|cmd|packets]\n"
    "         [--code linear|bcd7|hex7|bcdhex] [--reverse] [--invert]\n"
    "         [--by step|count] [--sequence arith|random] [--start N] [--end N] [--step N]\n"
    "         [--commands N] [--data N] [--repeat N] [--limit N]\n"
    "  --step is the step, or the count (and the seed) with --by count or --sequence random.\n"
    "  --limit caps the number of rows (1 to 10000, default 10000).\n"
    "Prints the rows as preset CSV (kind,additional,value,remark).\n";

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A value the generator refuses; the message is the one the dialog shows.
struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The list options by the names the command line uses for them.
struct Choice {
  const char* name;
  int code;
};
constexpr Choice kInsertTypes[] = {{"data", kInsertData}, {"cmd", kInsertCommand}, {"packets", kInsertPackets}};
constexpr Choice kCodeTypes[] = {{"linear", kCodeLinear},
                                 {"bcd7", kCodeBcdSevenSegment},
                                 {"hex7", kCodeHexSevenSegment},
                                 {"bcdhex", kCodeBcdHex}};
constexpr Choice kBases[] = {{"step", kBasisStep}, {"count", kBasisCount}};
constexpr Choice kSequences[] = {{"arith", kSequenceArithmetic}, {"random", kSequenceRandom}};

std::int64_t ParseInteger(const std::string& flag, const std::string& text) {
  const auto v = ParseDecimal64(text);
  if (!v || std::to_string(*v) != text) throw UsageError(flag + " needs a whole number, not \"" + text + "\"");
  return *v;
}

template <std::size_t N>
int ParseChoice(const std::string& flag, const std::string& text, const Choice (&choices)[N]) {
  std::string names;
  for (const Choice& c : choices) {
    if (text == c.name) return c.code;
    names += (names.empty() ? "" : "|") + std::string(c.name);
  }
  throw UsageError(flag + " is " + names + ", not \"" + text + "\"");
}

void Store(GeneratorParameters& p, GeneratorProperty property, const std::string& flag,
           const std::string& text) {
  const std::int64_t v = ParseInteger(flag, text);
  const std::string refusal = RefusalFor(property, v);
  if (!refusal.empty()) throw Refused(flag + " " + text + ": " + refusal);
  SetProperty(p, property, v);
}

}  // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  GeneratorParameters p;
  std::size_t limit = kGenerateLimit;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
        return args[++i];
      };
      if (a == "--help" || a == "-h") {
        out << kUsage;
        return kExitOk;
      } else if (a == "--bits") {
        Store(p, GeneratorProperty::kValidBits, a, value());
      } else if (a == "--insert") {
        p.insertType = ParseChoice(a, value(), kInsertTypes);
      } else if (a == "--code") {
        p.codeType = ParseChoice(a, value(), kCodeTypes);
      } else if (a == "--reverse") {
        p.reverse = kChoiceYes;
      } else if (a == "--invert") {
        p.invert = kChoiceYes;
      } else if (a == "--by") {
        p.lengthBasis = ParseChoice(a, value(), kBases);
      } else if (a == "--sequence") {
        p.sequenceType = ParseChoice(a, value(), kSequences);
      } else if (a == "--start") {
        Store(p, GeneratorProperty::kStart, a, value());
      } else if (a == "--end") {
        Store(p, GeneratorProperty::kEnd, a, value());
      } else if (a == "--step") {
        Store(p, GeneratorProperty::kStepOrCount, a, value());
      } else if (a == "--commands") {
        Store(p, GeneratorProperty::kCommandsPerPacket, a, value());
      } else if (a == "--data") {
        Store(p, GeneratorProperty::kDataPerPacket, a, value());
      } else if (a == "--repeat") {
        Store(p, GeneratorProperty::kPacketRepetitions, a, value());
      } else if (a == "--limit") {
        const std::int64_t v = ParseInteger(a, value());
        if (v < 1 || v > static_cast<std::int64_t>(kGenerateLimit)) {
          throw UsageError("--limit must be 1 to " + std::to_string(kGenerateLimit));
        }
        limit = static_cast<std::size_t>(v);
      } else {
        throw UsageError("unknown argument \"" + a + "\"");
      }
    }
  } catch (const UsageError& e) {
    err << "radove-cli: generate: " << e.what() << '\n' << kUsage;
    return kExitUsage;
  } catch (const Refused& e) {
    err << "radove-cli: generate: " << e.what() << '\n';
    return kExitUsage;
  }
  Generate(p, limit);
  out << WritePresetCsv(GeneratedItems(p));
  return kExitOk;
}

}  // namespace radove::cli
