#include "cli/Cli.h"

#include <QImage>
#include <memory>
#include <optional>
#include <stdexcept>

#include "cli/GenerateCommand.h"
#include "cli/InspectionJson.h"
#include "core/Catalogue.h"
#include "core/TextParse.h"
#include "devices/CDeviceFactory.h"
#include "document/CRadoveDoc.h"
#include "render/QtCanvas.h"
#include "tools/PresetCsv.h"

namespace radove::cli {
namespace {

constexpr const char* kUsageText =
    "usage:\n"
    "  radove-cli devices\n"
    "  radove-cli render  SOURCE --out OUT.png [--steps N] [--mode active|stopped] [--size WxH]\n"
    "  radove-cli inspect SOURCE [--steps N]\n"
    "  radove-cli convert IN OUT [--device CODE]   FILE.redu -> FILE.csv, or FILE.csv -> FILE.redu\n"
    "  radove-cli generate [--bits N] [--insert data|cmd|packets] ... (generate --help)\n"
    "SOURCE is FILE.redu, or --device CODE --preset FILE.csv\n";

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
  std::string document;  // FILE.redu
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

int ParseDeviceCode(const std::string& v) {
  const auto code = ParseDecimal32(v);
  if (!code || std::to_string(*code) != v) throw UsageError("--device needs a type code, not \"" + v + "\"");
  return *code;
}

bool HasExtension(const std::string& path, const std::string& ext) {
  if (path.size() < ext.size()) return false;
  std::string tail = path.substr(path.size() - ext.size());
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return tail == ext;
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
      o.device = ParseDeviceCode(value());
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
    } else if (!a.empty() && a[0] != '-') {
      if (!o.document.empty()) throw UsageError("more than one SOURCE: \"" + o.document + "\" and \"" + a + "\"");
      o.document = a;
    } else {
      throw UsageError("unknown argument \"" + a + "\"");
    }
  }
  if (!o.document.empty()) {
    if (o.device || !o.preset.empty()) {
      throw UsageError("SOURCE is FILE.redu or --device CODE --preset FILE.csv, not both");
    }
    if (HasExtension(o.document, ".csv")) {
      throw UsageError("a preset CSV is given as --device CODE --preset " + o.document);
    }
    return o;
  }
  if (!o.device || o.preset.empty()) throw UsageError("SOURCE needs --device CODE and --preset FILE.csv");
  return o;
}

// The device and the data a run starts from.
struct Source {
  int code = -1;
  PresetList items;
  std::optional<PropertySet> properties;  // from a document; the device's own otherwise
  std::string origin;                     // "FILE: " for a document, empty otherwise
};

Source ReadSource(const Options& o) {
  Source src;
  if (o.document.empty()) {
    try {
      src.items = ReadPresetCsvFile(o.preset);
    } catch (const std::exception& e) {
      throw InputError(e.what());
    }
    src.code = *o.device;
    return src;
  }
  CRadoveDoc doc;
  try {
    doc.Load(o.document);
  } catch (const DocumentError& e) {
    throw InputError(e.what());
  }
  src.origin = o.document + ": ";
  src.code = doc.CurrentDeviceId();
  if (src.code == -1) throw DeviceError(src.origin + "the simulation has no device chosen");
  if (const PresetList* items = doc.Presets()) src.items = *items;
  if (const PropertySet* props = doc.Properties()) src.properties = *props;
  return src;
}

// Creates, resets and feeds the device as a run does, then executes input words
// until the queue is empty or the step limit is reached.
std::unique_ptr<CDeviceBase> LoadAndRun(const Options& o) {
  Source src = ReadSource(o);
  const CatalogueEntry* entry = FindCatalogueEntry(src.code);
  if (!entry) throw DeviceError(src.origin + "unknown device type code " + std::to_string(src.code));
  CDeviceFactory factory;
  std::unique_ptr<CDeviceBase> device = factory.Create(DeviceColours{}, src.code);
  if (!device) {
    throw DeviceError(src.origin + "device " + std::to_string(src.code) + " (" + entry->className +
                      ") is not built in this version");
  }
  // A document's property values, as the view hands them over when it re-creates
  // the device; a document without them lets the device make its defaults.
  if (!o.document.empty()) {
    try {
      if (src.properties) {
        device->LoadProperties(*src.properties);
      } else {
        PropertySet created;
        device->CreateProperties(created);
      }
    } catch (const std::exception&) {
    }
  }
  // A device may run a timer thread of its own (a blinking cursor): every touch of
  // its state holds the device lock, as in the window.
  auto lock = device->Lock();
  try {
    device->Reset();
    device->ClearItems();
  } catch (const std::exception&) {
  }
  for (const DataItem& item : src.items) {
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
  {
    auto lock = device->Lock();
    device->Render(target, o.mode);
  }
  if (!target.Image().save(QString::fromStdString(o.out), "PNG")) {
    throw InputError(o.out + ": cannot write the picture");
  }
  out << o.out << ": " << w << "x" << h << '\n';
  return kOk;
}

int Inspect(const Options& o, std::ostream& out) {
  auto device = LoadAndRun(o);
  std::string json;
  {
    auto lock = device->Lock();
    json = InspectionToJson(device->BuildInspection());
  }
  out << json << '\n';
  return kOk;
}

// .redu -> .csv: the preset list of the document's device. .csv -> .redu: a new
// simulation of the given device holding the preset list, with the class name and
// class file name of the device's library row and no pins, pairs or property
// values (the device makes its defaults and takes its library pins when the file
// is opened).
int Convert(const std::vector<std::string>& args, std::ostream& out) {
  std::vector<std::string> files;
  std::optional<int> device;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--device") {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      device = ParseDeviceCode(args[++i]);
    } else if (!a.empty() && a[0] != '-') {
      files.push_back(a);
    } else {
      throw UsageError("unknown argument \"" + a + "\"");
    }
  }
  if (files.size() != 2) throw UsageError("convert needs IN and OUT");
  const std::string& in = files[0];
  const std::string& outPath = files[1];

  if (HasExtension(in, ".redu") && HasExtension(outPath, ".csv")) {
    if (device) throw UsageError("--device is for a CSV input; " + in + " names its own device");
    CRadoveDoc doc;
    try {
      doc.Load(in);
    } catch (const DocumentError& e) {
      throw InputError(e.what());
    }
    const PresetList* items = doc.Presets();
    const PresetList none;
    try {
      WritePresetCsvFile(outPath, items ? *items : none);
    } catch (const std::exception& e) {
      throw InputError(e.what());
    }
    out << outPath << ": " << (items ? items->size() : 0) << " items of device "
        << doc.CurrentDeviceId() << '\n';
    return kOk;
  }
  if (HasExtension(in, ".csv") && HasExtension(outPath, ".redu")) {
    if (!device) throw UsageError("a CSV names no device: convert " + in + " needs --device CODE");
    const CatalogueEntry* entry = FindCatalogueEntry(*device);
    if (!entry) throw DeviceError("unknown device type code " + std::to_string(*device));
    PresetList items;
    try {
      items = ReadPresetCsvFile(in);
    } catch (const std::exception& e) {
      throw InputError(e.what());
    }
    const std::size_t count = items.size();
    CRadoveDoc doc;
    doc.ChooseDevice(*device);
    // The texts the device's library row holds, as the view would store them.
    doc.SetLibraryRow(entry->className, std::string(entry->className) + ".h", 0);
    doc.SetPresets(std::move(items));
    try {
      doc.Save(outPath);
    } catch (const DocumentError& e) {
      throw InputError(e.what());
    }
    out << outPath << ": " << count << " items of device " << *device << " (" << entry->className
        << ")\n";
    return kOk;
  }
  throw UsageError("convert turns FILE.redu into FILE.csv, or FILE.csv into FILE.redu");
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
    if (command == "convert") return Convert(args, out);
    if (command == "generate") return RunGenerate({args.begin() + 1, args.end()}, out, err);
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
