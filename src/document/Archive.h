#pragma once
// The byte stream of a .redu file: 32-bit little-endian integers and texts with a
// length prefix.
//
// Text prefix: one byte when the length is below 0xFF; else 0xFF and a 16-bit
// length below 0xFFFE; else 0xFF 0xFFFF and a 32-bit length below 0xFFFFFFFF; else
// 0xFF 0xFFFF 0xFFFFFFFF and a 64-bit length. Files made on Windows may also hold
// the wide form, 0xFF 0xFFFE followed by such a prefix counting UTF-16 units and
// UTF-16LE text; the reader accepts it, the writer never makes it.
//
// Texts are UTF-8 inside the program and GBK in the file, so files stay
// byte-compatible with those made on a Chinese Windows. The conversion happens
// here and nowhere else: a text GBK cannot hold is refused on writing, bytes that
// are not GBK are refused on reading; nothing is replaced silently.
//
// The reader checks every length against what remains before it allocates, so a
// damaged file gives an error, never a huge allocation or a read past the end.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace radove {

class ArchiveError : public std::runtime_error {
 public:
  enum Kind {
    kEndOfFile,  // the data ends before the value being read
    kBadFormat,  // a length or count that cannot be right
    kBadText,    // a text that cannot be converted
  };
  ArchiveError(Kind kind, const std::string& message);
  Kind GetKind() const { return kind_; }

 private:
  Kind kind_;
};

// Converts between UTF-8 and GBK (Windows code page 936). Each conversion throws
// ArchiveError(kBadText) naming the first character or byte at fault. ASCII passes
// through unchanged and without a conversion call.
class GbkCodec {
 public:
  GbkCodec();
  ~GbkCodec();
  GbkCodec(const GbkCodec&) = delete;
  GbkCodec& operator=(const GbkCodec&) = delete;

  std::string ToGbk(std::string_view utf8);
  std::string FromGbk(std::string_view gbk);

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

// UTF-16LE bytes to UTF-8; throws ArchiveError(kBadText) for an unpaired surrogate.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

class ArchiveWriter {
 public:
  ArchiveWriter();
  ~ArchiveWriter();

  void WriteInt32(std::int32_t value);
  void WriteUInt32(std::uint32_t value);
  // Converts the UTF-8 text to GBK and writes it with its prefix. Throws
  // ArchiveError(kBadText) when GBK cannot hold a character; nothing is written then.
  void WriteText(std::string_view utf8);
  // Writes bytes that are already in the file's encoding, with their prefix.
  void WriteFileText(std::string_view bytes);
  // The length prefix alone.
  void WriteLength(std::uint64_t length);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
  void Reserve(std::size_t n) { bytes_.reserve(n); }

  // What is being written, for error messages ("while writing the preset section
  // (item 5 of 12)"). The texts must outlive the writer (string literals).
  void SetContext(const char* what) {
    context_ = what;
    elementName_ = nullptr;
  }
  void SetElement(const char* name, std::int64_t index, std::int64_t count) {
    elementName_ = name;
    elementIndex_ = index;
    elementCount_ = count;
  }

 private:
  void Put(std::uint64_t value, int size);

  std::vector<std::uint8_t> bytes_;
  const char* context_ = nullptr;
  const char* elementName_ = nullptr;
  std::int64_t elementIndex_ = 0;
  std::int64_t elementCount_ = 0;
  GbkCodec codec_;
};

class ArchiveReader {
 public:
  explicit ArchiveReader(std::span<const std::uint8_t> data);
  ~ArchiveReader();

  std::int32_t ReadInt32();
  std::uint32_t ReadUInt32();
  // Reads a text in either form and returns it as UTF-8.
  std::string ReadText();

  std::size_t Offset() const { return pos_; }
  std::size_t Size() const { return data_.size(); }
  std::size_t Remaining() const { return data_.size() - pos_; }

  // What is being read, for error messages: "while reading the pin section (pin 3
  // of 12)". The texts must outlive the reader (string literals).
  void SetContext(const char* what) {
    context_ = what;
    elementName_ = nullptr;
  }
  void SetElement(const char* name, std::int64_t index, std::int64_t count) {
    elementName_ = name;
    elementIndex_ = index;
    elementCount_ = count;
  }
  // An error of the given kind whose message ends with the reading context.
  [[noreturn]] void Fail(ArchiveError::Kind kind, const std::string& what) const;

 private:
  void Need(std::size_t n, const char* what) const;
  std::uint64_t Get(int size);
  // Reads a length prefix; sets wide when the wide marker came first.
  std::uint64_t ReadLength(bool& wide);
  std::string ContextText() const;

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  const char* context_ = nullptr;
  const char* elementName_ = nullptr;
  std::int64_t elementIndex_ = 0;
  std::int64_t elementCount_ = 0;
  GbkCodec codec_;
};

}  // namespace radove
