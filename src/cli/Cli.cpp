#include "cli/Cli.h"

#include <QImage>
#include <memory>
#include <optional>
#include <stdexcept>

#include "cli/InspectionJson.h"
#include "core/Catalogue.h"
#include "core/TextParse.h"
#include "devices/CDeviceFactory.h"
#include "render/QtCanvas.h"
#include "tools/PresetCsv.h"

namespace radove::cli {
namespace {

constexpr const char* kUsageText =
    "usage:\n"
    "  radove-cli devices\n"
    "  radove-cli render  SOURCE --out OUT.png [--steps N] [--mode active|stopped] [--size WxH]\n"
    "  radove-cli inspect SOURCE [--steps N]\n"
    "SOURCE is --device CODE --preset FILE.csv\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct DeviceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::optional<int> device;
  std::string preset;
  std::string out;
  std::optional<long long> steps;
  int mode = kModeActive;
  std::optional<std::pair<int, int>> size;
};

long long ParseCount(const std::string& flag, const std::string& text) {
  const auto v = ParseDecimal64(text);
  if (!v || *v < 0 || std::to_string(*v) != text) {
    throw UsageError(flag + " needs a non-negative number, not \"" + text + "\"");
  }
  return *v;
}

Options ParseOptions(const std::vector<std::string>& args, std::size_t first, bool allowRender) {
  Options o;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "--device") {
      const std::string& v = value();
      const auto code = ParseDecimal32(v);
      if (!code || std::to_string(*code) != v) throw UsageError("--device needs a type code, not \"" + v + "\"");
      o.device = *code;
    } else if (a == "--preset") {
      o.preset = value();
    } else if (a == "--steps") {
      o.steps = ParseCount(a, value());
    } else if (allowRender && a == "--out") {
      o.out = value();
    } else if (allowRender && a == "--mode") {
      const std::string& v = value();
      if (v == "active") {
        o.mode = kModeActive;
      } else if (v == "stopped") {
        o.mode = kModeStopped;
      } else {
        throw UsageError("--mode is active or stopped, not \"" + v + "\"");
      }
    } else if (allowRender && a == "--size") {
      const std::string& v = value();
      const auto x = v.find('x');
      if (x == std::string::npos) throw UsageError("--size is WxH, not \"" + v + "\"");
      const long long w = ParseCount("--size", v.substr(0, x));
      const long long h = ParseCount("--size", v.substr(x + 1));
      if (w < 1 || h < 1 || w > 16384 || h > 16384) throw UsageError("--size must be 1x1 to 16384x16384");
      o.size = std::make_pair(static_cast<int>(w), static_cast<int>(h));
    } else {
      throw UsageError("unknown argument \"" + a + "\"");
    }
  }
  if (!o.device || o.preset.empty()) throw UsageError("SOURCE needs --device CODE and --preset FILE.csv");
  return o;
}

// Creates, resets and feeds the device as a run does, then executes input words
// until the queue is empty or the step limit is reached.
std::unique_ptr<CDeviceBase> LoadAndRun(const Options& o) {
  PresetList items;
  try {
    items = ReadPresetCsvFile(o.preset);
  } catch (const std::exception& e) {
    throw InputError(e.what());
  }
  const CatalogueEntry* entry = FindCatalogueEntry(*o.device);
  if (!entry) throw DeviceError("unknown device type code " + std::to_string(*o.device));
  CDeviceFactory factory;
  std::unique_ptr<CDeviceBase> device = factory.Create(DeviceColours{}, *o.device);
  if (!device) {
    throw DeviceError("device " + std::to_string(*o.device) + " (" + entry->className +
                      ") is not built in this version");
  }
  try {
    device->Reset();
    device->ClearItems();
  } catch (const std::exception&) {
  }
  for (const DataItem& item : items) {
    try {
      device->FeedItem(static_cast<int>(LeadingNumber(item.kind)),
                       static_cast<std::uint32_t>(ParseHex64(item.additional).value_or(0)), 0,
                       ParseDecimal64(item.value).value_or(0), 0);
    } catch (const std::exception&) {
    }
  }
  long long taken = 0;
  while (device->QueuedItems() > 0 && (!o.steps || taken < *o.steps)) {
    ++taken;
    try {
      device->ProcessNextItem(0);
    } catch (const std::exception&) {
      // A faulty word is skipped, as in a run.
    }
  }
  return device;
}

int Devices(std::ostream& out) {
  for (const CatalogueEntry& e : Catalogue()) {
    out << e.code << '\t' << e.className << '\t' << e.model << '\t'
        << (IsDeviceBuilt(e.code) ? "built" : "-") << '\n';
  }
  return kOk;
}

int Render(const Options& o, std::ostream& out) {
  if (o.out.empty()) throw UsageError("render needs --out OUT.png");
  auto device = LoadAndRun(o);
  const CSurfaceBase& s = device->Surface();
  const int w = o.size ? o.size->first : s.canvasWidth;
  const int h = o.size ? o.size->second : s.canvasHeight;
  ImageTarget target(w, h, 0xFFFFFF);
  device->Render(target, o.mode);
  if (!target.Image().save(QString::fromStdString(o.out), "PNG")) {
    throw InputError(o.out + ": cannot write the picture");
  }
  out << o.out << ": " << w << "x" << h << '\n';
  return kOk;
}

int Inspect(const Options& o, std::ostream& out) {
  auto device = LoadAndRun(o);
  out << InspectionToJson(device->BuildInspection()) << '\n';
  return kOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? err : out) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  try {
    const std::string& command = args[0];
    if (command == "devices") {
      if (args.size() > 1) throw UsageError("devices takes no arguments");
      return Devices(out);
    }
    if (command == "render") return Render(ParseOptions(args, 1, true), out);
    if (command == "inspect") return Inspect(ParseOptions(args, 1, false), out);
    throw UsageError("unknown command \"" + command + "\"");
  } catch (const UsageError& e) {
    err << "radove-cli: " << e.what() << '\n' << kUsageText;
    return kUsage;
  } catch (const DeviceError& e) {
    err << "radove-cli: " << e.what() << '\n';
    return kUnknownDevice;
  } catch (const InputError& e) {
    err << "radove-cli: " << e.what() << '\n';
    return kUnreadableInput;
  } catch (const std::exception& e) {
    err << "radove-cli: " << e.what() << '\n';
    return kUnreadableInput;
  }
}

}  // namespace radove::cli
