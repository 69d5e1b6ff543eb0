#include "document/CRadoveDoc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/Archive.h"

namespace radove {

// --- file layout ------------------------------------------------------------------

namespace {

// The fewest bytes one element can take in the file; counts are checked against
// them before anything is reserved.
constexpr std::size_t kMinItemBytes = DataItem::kFieldCount;  // ten empty texts
constexpr std::size_t kMinPinBytes = 16 * 4 + 7;              // 16 numbers, 7 empty texts
constexpr std::size_t kMinPairBytes = 8;
constexpr std::size_t kMinPropertyBytes = 4 + 1;

void WriteItem(ArchiveWriter& w, const DataItem& item) {
  for (int i = 0; i < DataItem::kFieldCount; ++i) w.WriteText(item.Field(i));
}

DataItem ReadItem(ArchiveReader& r) {
  DataItem item;
  for (int i = 0; i < DataItem::kFieldCount; ++i) item.Field(i) = r.ReadText();
  return item;
}

void WritePin(ArchiveWriter& w, const PinRecord& p) {
  w.WriteInt32(p.id);
  w.WriteInt32(p.tidDeviceLib);
  w.WriteText(p.deviceType);
  w.WriteText(p.deviceName);
  w.WriteText(p.nameCn);
  w.WriteText(p.nameEn);
  w.WriteInt32(p.ioType);
  w.WriteInt32(p.specialType);
  w.WriteInt32(p.activeLevel);
  w.WriteInt32(p.outputLevel);
  w.WriteInt32(p.clkTrigger);
  w.WriteInt32(p.logic);
  w.WriteText(p.info);
  w.WriteText(p.description);
  w.WriteInt32(p.connection);
  w.WriteInt32(p.ownNumber);
  for (const std::int32_t v : p.reservedInts) w.WriteInt32(v);
  w.WriteText(p.reservedText);
}

PinRecord ReadPin(ArchiveReader& r) {
  PinRecord p;
  p.id = r.ReadInt32();
  p.tidDeviceLib = r.ReadInt32();
  p.deviceType = r.ReadText();
  p.deviceName = r.ReadText();
  p.nameCn = r.ReadText();
  p.nameEn = r.ReadText();
  p.ioType = r.ReadInt32();
  p.specialType = r.ReadInt32();
  p.activeLevel = r.ReadInt32();
  p.outputLevel = r.ReadInt32();
  p.clkTrigger = r.ReadInt32();
  p.logic = r.ReadInt32();
  p.info = r.ReadText();
  p.description = r.ReadText();
  p.connection = r.ReadInt32();
  p.ownNumber = r.ReadInt32();
  for (std::int32_t& v : p.reservedInts) v = r.ReadInt32();
  p.reservedText = r.ReadText();
  return p;
}

// Writes one section: the list count, then for the current device's entry its
// element count and elements. Only that entry is written, so the list count always
// matches what follows.
template <class Map, class WriteList>
void WriteSection(ArchiveWriter& w, const char* section, const Map& map, std::int32_t id,
                  WriteList writeList) {
  w.SetContext(section);
  const auto it = map.find(id);
  if (it == map.end()) {
    w.WriteInt32(0);
    return;
  }
  w.WriteInt32(1);
  w.WriteInt32(static_cast<std::int32_t>(it->second.size()));
  writeList(it->second);
}

// Reads an element count and checks that the elements can fit in what remains.
std::int32_t ReadElementCount(ArchiveReader& r, const char* elements, std::size_t minBytes) {
  const std::size_t at = r.Offset();
  const std::int32_t n = r.ReadInt32();
  if (n < 0) {
    r.Fail(ArchiveError::kBadFormat, "the count of " + std::string(elements) + " at byte " +
                                         std::to_string(at) + " is negative (" +
                                         std::to_string(n) + ")");
  }
  if (static_cast<std::size_t>(n) > r.Remaining() / minBytes) {
    r.Fail(ArchiveError::kEndOfFile,
           "the file ends early at byte " + std::to_string(r.Size()) + ": " + std::to_string(n) +
               " " + elements + " from byte " + std::to_string(r.Offset()) + " need at least " +
               std::to_string(static_cast<std::uint64_t>(n) * minBytes) + " bytes");
  }
  return n;
}

// Reads one section: the list count c, then c lists. The first list is stored under
// the current device id; any further ones are read past.
template <class Map, class ReadList>
void ReadSection(ArchiveReader& r, const char* section, Map& map, std::int32_t id,
                 ReadList readList) {
  r.SetContext(section);
  const std::size_t at = r.Offset();
  const std::int32_t lists = r.ReadInt32();
  if (lists < 0) {
    r.Fail(ArchiveError::kBadFormat, "the list count at byte " + std::to_string(at) +
                                         " is negative (" + std::to_string(lists) + ")");
  }
  for (std::int32_t i = 0; i < lists; ++i) {
    r.SetContext(section);
    auto list = readList();
    if (i == 0) map.emplace(id, std::move(list));
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeDocument(const DocumentContents& c) {
  ArchiveWriter w;
  const std::int32_t id = c.currentDeviceId;
  w.SetContext("the library selection");
  w.WriteInt32(c.librarySelection.category);
  w.WriteInt32(c.librarySelection.subCategory);
  w.WriteInt32(c.librarySelection.device);
  w.WriteInt32(id);
  w.SetContext("the class name");
  w.WriteText(c.className);
  w.SetContext("the class file name");
  w.WriteText(c.classFileName);
  w.WriteInt32(c.userCreated);

  WriteSection(w, "the preset section", c.presetLists, id, [&](const PresetList& list) {
    const auto n = static_cast<std::int64_t>(list.size());
    for (std::int64_t i = 0; i < n; ++i) {
      w.SetElement("item", i + 1, n);
      WriteItem(w, list[static_cast<std::size_t>(i)]);
    }
  });
  WriteSection(w, "the pin section", c.pinLists, id, [&](const PinList& list) {
    const auto n = static_cast<std::int64_t>(list.size());
    for (std::int64_t i = 0; i < n; ++i) {
      w.SetElement("pin", i + 1, n);
      WritePin(w, list[static_cast<std::size_t>(i)]);
    }
  });
  WriteSection(w, "the pair section", c.pairTables, id, [&](const PairTable& table) {
    for (const auto& [key, value] : table) {
      w.WriteInt32(key);
      w.WriteInt32(value);
    }
  });
  WriteSection(w, "the property section", c.propertySets, id, [&](const PropertySet& set) {
    const auto n = static_cast<std::int64_t>(set.size());
    std::int64_t i = 0;
    for (const auto& [key, text] : set) {
      w.SetElement("property", ++i, n);
      w.WriteUInt32(key);
      w.WriteText(text);
    }
  });
  return w.TakeBytes();
}

DocumentContents DecodeDocument(std::span<const std::uint8_t> bytes) {
  ArchiveReader r(bytes);
  DocumentContents c;
  r.SetContext("the library selection");
  c.librarySelection.category = r.ReadInt32();
  c.librarySelection.subCategory = r.ReadInt32();
  c.librarySelection.device = r.ReadInt32();
  r.SetContext("the device id");
  c.currentDeviceId = r.ReadInt32();
  r.SetContext("the class name");
  c.className = r.ReadText();
  r.SetContext("the class file name");
  c.classFileName = r.ReadText();
  r.SetContext("the user-created flag");
  c.userCreated = r.ReadInt32();
  const std::int32_t id = c.currentDeviceId;

  ReadSection(r, "the preset section", c.presetLists, id, [&] {
    const std::int32_t n = ReadElementCount(r, "items", kMinItemBytes);
    PresetList list;
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
      r.SetElement("item", i + 1, n);
      list.push_back(ReadItem(r));
    }
    return list;
  });
  ReadSection(r, "the pin section", c.pinLists, id, [&] {
    const std::int32_t n = ReadElementCount(r, "pins", kMinPinBytes);
    PinList list;
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
      r.SetElement("pin", i + 1, n);
      list.push_back(ReadPin(r));
    }
    return list;
  });
  ReadSection(r, "the pair section", c.pairTables, id, [&] {
    const std::int32_t n = ReadElementCount(r, "pairs", kMinPairBytes);
    PairTable table;
    for (std::int32_t i = 0; i < n; ++i) {
      r.SetElement("pair", i + 1, n);
      const std::int32_t key = r.ReadInt32();
      table[key] = r.ReadInt32();
    }
    return table;
  });
  ReadSection(r, "the property section", c.propertySets, id, [&] {
    const std::int32_t n = ReadElementCount(r, "properties", kMinPropertyBytes);
    PropertySet set;
    for (std::int32_t i = 0; i < n; ++i) {
      r.SetElement("property", i + 1, n);
      const std::uint32_t key = r.ReadUInt32();
      set[key] = r.ReadText();
    }
    return set;
  });
  return c;
}

// --- files ------------------------------------------------------------------------

DocumentError::DocumentError(const std::string& path, const std::string& reason)
    : std::runtime_error(path + ": " + reason), path_(path), reason_(reason) {}

namespace {

std::string Errno() { return std::strerror(errno); }

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw DocumentError(path, "cannot open: it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DocumentError(path, "cannot open: " + Errno());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) throw DocumentError(path, "cannot read: " + Errno());
  return bytes;
}

// Writes the bytes to a new file beside the target, flushes it to disk and renames
// it over the target. Until the rename the old file is untouched; after a failure
// the temporary file is removed.
void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = path;
  // Saving through a link updates the file it points to, not the link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  if (fs::is_directory(target, ec)) throw DocumentError(path, "cannot save: it is a folder");
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");

  static std::atomic<unsigned> serial{0};
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = (dir / ("." + target.filename().string() + ".save-" + std::to_string(::getpid()) + "-" +
                  std::to_string(serial++)))
              .string();
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw DocumentError(path, "cannot save: cannot create a file in " + dir.string() + ": " + Errno());

  auto fail = [&](const std::string& what) {
    const std::string reason = what + ": " + Errno();
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    throw DocumentError(path, "cannot save: " + reason + "; the file on disk is unchanged");
  };
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("writing failed");
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) fail("writing failed");
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) fail("writing failed");
  if (::rename(tmp.c_str(), target.c_str()) != 0) fail("cannot replace the file");
  // Make the rename itself durable.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

std::string FileNameOf(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  return name.empty() ? path : name;
}

}  // namespace

// --- the document -----------------------------------------------------------------

CRadoveDoc::CRadoveDoc() : factory_(std::make_unique<CDeviceFactory>()) {}

// The run control, which refers to the document, is destroyed first and ends its
// worker then; nothing is left running here.
CRadoveDoc::~CRadoveDoc() = default;

void CRadoveDoc::StopRun() {
  if (simulation_ && (simulation_->State() != kStopped || simulation_->WorkerPresent())) {
    simulation_->Stop();
  }
}

const PresetList* CRadoveDoc::PresetListFor(int deviceId) const {
  const auto it = contents_.presetLists.find(deviceId);
  return it == contents_.presetLists.end() ? nullptr : &it->second;
}

void CRadoveDoc::NewDocument() {
  ClearContents();
  path_.clear();
  modified_ = false;
}

void CRadoveDoc::ClearContents() {
  title_ = kNewTitle;
  // The run control stops a run of the chosen device and puts its own values back
  // (state, step mode, worker, item counter) before the model goes away.
  if (simulation_) simulation_->ResetForNewDocument();
  contents_ = DocumentContents{};
  factory_ = std::make_unique<CDeviceFactory>();
  device_.reset();
  panesReset_ = true;
}

void CRadoveDoc::Adopt(DocumentContents contents) {
  ClearContents();
  contents_ = std::move(contents);
  if (contents_.currentDeviceId == -1) panesReset_ = true;
  deviceReload_ = true;
  modified_ = false;
}

std::vector<std::uint8_t> CRadoveDoc::SaveToBytes() const { return EncodeDocument(contents_); }

void CRadoveDoc::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  Adopt(DecodeDocument(bytes));
}

void CRadoveDoc::Save(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = EncodeDocument(contents_);
  } catch (const ArchiveError& e) {
    throw DocumentError(path, std::string("cannot save: ") + e.what());
  }
  ReplaceFile(path, bytes);
  path_ = path;
  title_ = FileNameOf(path);
  modified_ = false;
}

void CRadoveDoc::Load(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  DocumentContents contents;
  try {
    contents = DecodeDocument(bytes);
  } catch (const ArchiveError& e) {
    throw DocumentError(path, std::string("not a readable simulation: ") + e.what());
  }
  Adopt(std::move(contents));
  path_ = path;
  title_ = FileNameOf(path);
}

void CRadoveDoc::SetLibraryRow(const std::string& className, const std::string& classFileName,
                               std::int32_t userCreated) {
  contents_.className = className;
  contents_.classFileName = classFileName;
  contents_.userCreated = userCreated;
}

bool CRadoveDoc::ChooseDevice(std::int32_t deviceId) {
  if (deviceId == contents_.currentDeviceId) return false;
  contents_.presetLists.clear();
  contents_.pinLists.clear();
  contents_.pairTables.clear();
  contents_.propertySets.clear();
  contents_.currentDeviceId = deviceId;
  modified_ = true;
  return true;
}

void CRadoveDoc::SetPresets(PresetList list) {
  contents_.presetLists[contents_.currentDeviceId] = std::move(list);
}

const PinList* CRadoveDoc::Pins() const {
  const auto it = contents_.pinLists.find(contents_.currentDeviceId);
  return it == contents_.pinLists.end() ? nullptr : &it->second;
}

void CRadoveDoc::SetPins(PinList pins) { contents_.pinLists[contents_.currentDeviceId] = std::move(pins); }

const PairTable* CRadoveDoc::Pairs() const {
  const auto it = contents_.pairTables.find(contents_.currentDeviceId);
  return it == contents_.pairTables.end() ? nullptr : &it->second;
}

void CRadoveDoc::SetPairs(PairTable pairs) {
  contents_.pairTables[contents_.currentDeviceId] = std::move(pairs);
}

const PropertySet* CRadoveDoc::Properties() const {
  const auto it = contents_.propertySets.find(contents_.currentDeviceId);
  return it == contents_.propertySets.end() ? nullptr : &it->second;
}

PropertySet* CRadoveDoc::MutableProperties() {
  const auto it = contents_.propertySets.find(contents_.currentDeviceId);
  return it == contents_.propertySets.end() ? nullptr : &it->second;
}

void CRadoveDoc::SetProperties(PropertySet properties) {
  contents_.propertySets[contents_.currentDeviceId] = std::move(properties);
}

void CRadoveDoc::SetDevice(std::unique_ptr<CDeviceBase> device) {
  StopRun();
  device_ = std::move(device);
}

CDeviceBase* CRadoveDoc::CreateDeviceModel(const DeviceColours& colours) {
  try {
    SetDevice(factory_->Create(colours, contents_.currentDeviceId));
    if (!device_) return nullptr;
    if (PropertySet* stored = MutableProperties()) {
      device_->LoadProperties(*stored);
    } else {
      PropertySet created;
      device_->CreateProperties(created);
      SetProperties(std::move(created));
    }
  } catch (const std::exception&) {
    // A faulty device keeps what was done; the document stays usable.
  }
  return device_.get();
}

}  // namespace radove
