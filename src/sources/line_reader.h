// Reads a text file line by line in any encoding the classifier recognises, decoding each
// line to code points. A line ends at CR LF, LF or CR, whatever the file's verdict.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sources/classify.h"

namespace talq {

class SourceFile;

class LineReader {
 public:
  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader();

  // Opens path read-only and skips skipBytes (a byte-order mark). False if it can't be read.
  bool Open(const std::string& path, TextEncoding encoding, int skipBytes);
  // The same on a file already open, read by position; file must outlive the reading.
  bool Open(const SourceFile& file, TextEncoding encoding, int skipBytes);
  // Reads the open descriptor fd (standard input, a pipe) from where it stands; Close()
  // leaves it open.
  void Attach(int fd, TextEncoding encoding);
  // Opens path to read only the bytes [begin, end) (begin past the byte-order mark), for
  // a stretch of a file that starts at a line start; BytesRead counts from begin.
  bool OpenRange(const std::string& path, TextEncoding encoding, std::int64_t begin,
                 std::int64_t end);
  bool OpenRange(const SourceFile& file, TextEncoding encoding, std::int64_t begin,
                 std::int64_t end);
  void Close();
  // Changes how the following lines are decoded (an HTML head declared UTF-8). Only
  // between byte encodings.
  void SetEncoding(TextEncoding encoding);
  TextEncoding Encoding() const { return encoding_; }
  // Bytes consumed so far, line endings included.
  std::int64_t BytesRead() const { return consumed_; }

  // The next line without its ending; false at the end of the file. Invalid byte sequences
  // become U+FFFD; a read error ends the file.
  bool ReadLfLine(std::u32string& line);

 private:
  void Start(int fd, bool owns, TextEncoding encoding, int skipBytes);
  bool Fill();  // appends the next block to buf_; false at end
  bool NextByteLine(std::u32string& line);
  bool NextUnitLine(std::u32string& line);
  void DecodeUnits();

  // A byte buffer whose growth leaves the new bytes unset: each block is read over at
  // once, and zeroing a megabyte for every small file of a folder cost more than its text.
  class Bytes {
   public:
    std::size_t size() const { return size_; }
    char* data() { return data_.get(); }
    char& operator[](std::size_t i) { return data_[i]; }
    void clear() { size_ = 0; }
    // Drops the first n bytes.
    void DropFront(std::size_t n);
    void resize(std::size_t n);

   private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
  };

  int fd_ = -1;
  bool ownsFd_ = false;
  std::int64_t offset_ = -1;  // file offset of the next read; -1: read where fd_ stands
  std::int64_t limit_ = INT64_MAX;  // reads stop here
  TextEncoding encoding_ = TextEncoding::Ansi;
  Bytes buf_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  std::int64_t consumed_ = 0;
  std::int64_t fileBytes_ = 0;  // bytes read from the file so far
  // Multi-byte-unit encodings: decoded code points waiting to be split into lines.
  std::u32string units_;
  std::size_t unitPos_ = 0;
};

// The first line start at or after p in the byte-encoded file path of the given length:
// the position after an LF, or after a CR not followed by LF (0 and length are line starts).
// Returns length when the file cannot be read.
std::int64_t LineStartAtOrAfter(const std::string& path, std::int64_t p, std::int64_t length);
// The same on an open descriptor, read by position.
std::int64_t LineStartAtOrAfter(int fd, std::int64_t p, std::int64_t length);

}  // namespace talq
