#include "document/Archive.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace radove {

ArchiveError::ArchiveError(Kind kind, const std::string& message)
    : std::runtime_error(message), kind_(kind) {}

namespace {

bool IsAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string Hex(std::uint64_t v, int digits) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The code point of the UTF-8 sequence at s[pos], or -1 when it is not valid UTF-8.
// Sets len to the sequence length.
long DecodeUtf8At(std::string_view s, std::size_t pos, std::size_t& len) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b = byte(pos);
  std::uint32_t cp;
  std::uint32_t min;
  if (b < 0x80) {
    len = 1;
    return b;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, cp = b & 0x07, min = 0x10000;
  } else {
    return -1;
  }
  if (pos + len > s.size()) return -1;
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return static_cast<long>(cp);
}

// Runs one whole conversion. Returns false with bad set to the input offset of the
// first sequence the converter refused.
bool Convert(iconv_t cd, std::string_view in, std::string& out, std::size_t& bad) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(in.size() * 2 + 8);
  char* inp = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char* outp = out.data();
  std::size_t outLeft = out.size();
  auto grow = [&] {
    const std::size_t used = static_cast<std::size_t>(outp - out.data());
    out.resize(out.size() * 2);
    outp = out.data() + used;
    outLeft = out.size() - used;
  };
  while (inLeft > 0) {
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) {
        grow();
        continue;
      }
      bad = static_cast<std::size_t>(inp - in.data());
      return false;
    }
  }
  while (iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
    if (errno != E2BIG) {
      bad = in.size();
      return false;
    }
    grow();
  }
  out.resize(static_cast<std::size_t>(outp - out.data()));
  return true;
}

iconv_t Open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw ArchiveError(ArchiveError::kBadText, std::string("this system cannot convert ") + from +
                                                   " to " + to + ": " + std::strerror(errno));
  }
  return cd;
}

// " while reading the pin section (pin 3 of 12)"
std::string ContextText(const char* verb, const char* context, const char* elementName,
                        std::int64_t index, std::int64_t count) {
  if (!context) return {};
  std::string s = std::string(verb) + context;
  if (elementName) {
    s += std::string(" (") + elementName + " " + std::to_string(index) + " of " +
         std::to_string(count) + ")";
  }
  return s;
}

}  // namespace

struct GbkCodec::Handles {
  iconv_t toGbk = reinterpret_cast<iconv_t>(-1);
  iconv_t fromGbk = reinterpret_cast<iconv_t>(-1);
  ~Handles() {
    if (toGbk != reinterpret_cast<iconv_t>(-1)) iconv_close(toGbk);
    if (fromGbk != reinterpret_cast<iconv_t>(-1)) iconv_close(fromGbk);
  }
};

GbkCodec::GbkCodec() : handles_(std::make_unique<Handles>()) {}
GbkCodec::~GbkCodec() = default;

std::string GbkCodec::ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  if (handles_->toGbk == reinterpret_cast<iconv_t>(-1)) handles_->toGbk = Open("GBK", "UTF-8");
  std::string out;
  std::size_t bad = 0;
  if (Convert(handles_->toGbk, utf8, out, bad)) return out;
  std::size_t len = 0;
  const long cp = bad < utf8.size() ? DecodeUtf8At(utf8, bad, len) : -1;
  if (cp < 0) {
    throw ArchiveError(ArchiveError::kBadText,
                       "the text is not valid UTF-8 at position " + std::to_string(bad));
  }
  throw ArchiveError(ArchiveError::kBadText,
                     "the character U+" + Hex(static_cast<std::uint64_t>(cp), 4) + " \"" +
                         std::string(utf8.substr(bad, len)) + "\" at position " +
                         std::to_string(bad) + " of the text has no GBK form");
}

std::string GbkCodec::FromGbk(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  if (handles_->fromGbk == reinterpret_cast<iconv_t>(-1)) handles_->fromGbk = Open("UTF-8", "GBK");
  std::string out;
  std::size_t bad = 0;
  if (Convert(handles_->fromGbk, gbk, out, bad)) return out;
  std::string bytes;
  for (std::size_t i = bad; i < gbk.size() && i < bad + 2; ++i) {
    bytes += (bytes.empty() ? "0x" : " 0x") + Hex(static_cast<unsigned char>(gbk[i]), 2);
  }
  if (bytes.empty()) bytes = "an incomplete character";
  throw ArchiveError(ArchiveError::kBadText, "the bytes " + bytes + " at position " +
                                                 std::to_string(bad) + " of the text are not GBK");
}

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<std::uint32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      throw ArchiveError(ArchiveError::kBadText, "the wide text holds an unpaired surrogate 0x" +
                                                     Hex(cp, 4) + " at unit " + std::to_string(i));
    }
    AppendUtf8(out, cp);
  }
  return out;
}

// --- writer ---------------------------------------------------------------------

ArchiveWriter::ArchiveWriter() = default;
ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::Put(std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ArchiveWriter::WriteInt32(std::int32_t value) { Put(static_cast<std::uint32_t>(value), 4); }
void ArchiveWriter::WriteUInt32(std::uint32_t value) { Put(value, 4); }

void ArchiveWriter::WriteLength(std::uint64_t length) {
  if (length < 0xFF) {
    Put(length, 1);
    return;
  }
  Put(0xFF, 1);
  if (length < 0xFFFE) {
    Put(length, 2);
    return;
  }
  Put(0xFFFF, 2);
  if (length < 0xFFFFFFFFu) {
    Put(length, 4);
    return;
  }
  Put(0xFFFFFFFFu, 4);
  Put(length, 8);
}

void ArchiveWriter::WriteFileText(std::string_view bytes) {
  WriteLength(bytes.size());
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::WriteText(std::string_view utf8) {
  if (IsAscii(utf8)) {
    WriteFileText(utf8);
    return;
  }
  std::string gbk;
  try {
    gbk = codec_.ToGbk(utf8);
  } catch (const ArchiveError& e) {
    throw ArchiveError(e.GetKind(), e.what() + ContextText(" while writing ", context_, elementName_,
                                                           elementIndex_, elementCount_));
  }
  WriteFileText(gbk);
}

// --- reader ---------------------------------------------------------------------

ArchiveReader::ArchiveReader(std::span<const std::uint8_t> data) : data_(data) {}
ArchiveReader::~ArchiveReader() = default;

std::string ArchiveReader::ContextText() const {
  return radove::ContextText(" while reading ", context_, elementName_, elementIndex_, elementCount_);
}

void ArchiveReader::Fail(ArchiveError::Kind kind, const std::string& what) const {
  throw ArchiveError(kind, what + ContextText());
}

void ArchiveReader::Need(std::size_t n, const char* what) const {
  if (Remaining() < n) {
    Fail(ArchiveError::kEndOfFile, "the file ends early at byte " + std::to_string(data_.size()) +
                                       " (" + what + " was due at byte " + std::to_string(pos_) +
                                       ")");
  }
}

std::uint64_t ArchiveReader::Get(int size) {
  std::uint64_t v = 0;
  for (int i = 0; i < size; ++i) v |= static_cast<std::uint64_t>(data_[pos_ + i]) << (8 * i);
  pos_ += static_cast<std::size_t>(size);
  return v;
}

std::int32_t ArchiveReader::ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }

std::uint32_t ArchiveReader::ReadUInt32() {
  Need(4, "a 4-byte number");
  return static_cast<std::uint32_t>(Get(4));
}

std::uint64_t ArchiveReader::ReadLength(bool& wide) {
  wide = false;
  Need(1, "a text length");
  std::uint64_t v = Get(1);
  if (v < 0xFF) return v;
  Need(2, "a text length");
  v = Get(2);
  if (v == 0xFFFE) {
    // The wide marker; the real prefix follows and counts UTF-16 units.
    wide = true;
    Need(1, "a text length");
    v = Get(1);
    if (v < 0xFF) return v;
    Need(2, "a text length");
    v = Get(2);
    if (v == 0xFFFE) {
      Fail(ArchiveError::kBadFormat,
           "a doubled wide-text marker at byte " + std::to_string(pos_ - 2) + " is not a text length");
    }
  }
  if (v < 0xFFFE) return v;
  Need(4, "a text length");
  v = Get(4);
  if (v < 0xFFFFFFFFu) return v;
  Need(8, "a text length");
  return Get(8);
}

std::string ArchiveReader::ReadText() {
  const std::size_t start = pos_;
  bool wide = false;
  const std::uint64_t length = ReadLength(wide);
  const std::uint64_t unitSize = wide ? 2 : 1;
  if (length > Remaining() / unitSize) {
    Fail(ArchiveError::kBadFormat,
         "the text at byte " + std::to_string(start) + " claims " + std::to_string(length) +
             (wide ? " UTF-16 units" : " bytes") + " from byte " + std::to_string(pos_) +
             ", but the file ends at byte " + std::to_string(data_.size()));
  }
  const std::size_t n = static_cast<std::size_t>(length * unitSize);
  const std::span<const std::uint8_t> body = data_.subspan(pos_, n);
  pos_ += n;
  try {
    if (wide) return Utf16LeToUtf8(body);
    return codec_.FromGbk(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
  } catch (const ArchiveError& e) {
    Fail(ArchiveError::kBadText, "the text at byte " + std::to_string(start) + " cannot be read: " +
                                     e.what());
  }
}

}  // namespace radove
