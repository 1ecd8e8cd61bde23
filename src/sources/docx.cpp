// .docx text extraction with libzip.
#include "sources/docx.h"

#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "host/host.h"
#include "sources/source_file.h"
#include "text/entities.h"
#include "util/paths.h"
#include "util/utf8.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMember = "word/document.xml";

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Start of the next text run ("<w:t" then a space or ">") at or after pos, or npos.
std::size_t FindRun(const std::string& xml, std::size_t pos) {
  for (;;) {
    pos = xml.find("<w:t", pos);
    if (pos == std::string::npos || pos + 4 >= xml.size()) return std::string::npos;
    const char c = xml[pos + 4];
    if (c == ' ' || c == '>') return pos;
    pos += 4;  // "<w:tab/>", "<w:tbl>" and the like
  }
}

// Whether [from, to) holds a line break, a tab or a paragraph end, which all separate words.
bool SeparatorBetween(const std::string& xml, std::size_t from, std::size_t to) {
  const std::string_view between = std::string_view(xml).substr(from, to - from);
  for (std::string_view mark : {"</w:p>", "<w:br/>", "<w:br ", "<w:cr/>", "<w:tab/>"})
    if (between.find(mark) != std::string_view::npos) return true;
  return false;
}

std::string ErrorText(const std::error_code& ec) { return ec.message(); }

}  // namespace

namespace {

// ReadZipSignature of a file already open: -2 when its first 16 bytes cannot be read.
int ZipSignature(const SourceFile& file) {
  std::string head;
  if (!file.ok() || !file.ReadStart(16, head) || head.size() < 16) return -2;
  return head.starts_with("PK\x03\x04") ? 1 : 0;
}

}  // namespace

int ReadZipSignature(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return -1;
  return ZipSignature(*SourceFile::Open(path));
}

bool HasZipSignature(const SourceFile& file) { return ZipSignature(file) == 1; }

bool IsDocxFile(const std::string& path) {
  return GetFileExtension(path, true) == "docx" && ReadZipSignature(path) == 1;
}

std::string CreateTempFolder(const std::string& appName) {
  std::error_code ec;
  const fs::path root = fs::temp_directory_path(ec);
  if (ec || root.empty()) return {};
  // mkdtemp picks an unguessable name and creates it exclusively with mode 0700.
  std::string name = (root / (appName + "-XXXXXX")).string();
  if (::mkdtemp(name.data()) == nullptr) return {};
  return name + "/";
}

void RemoveTempFolder(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code ec;
  fs::remove_all(folder, ec);
}

namespace {

// libzip reads an archive already open through this: by position on its descriptor, its
// size as the open's fstat gave it, so the file is neither opened nor stat-ed again.
struct OpenFileSource {
  const SourceFile* file;
  zip_uint64_t size;
  zip_uint64_t pos = 0;
  zip_error_t error{};
};

zip_int64_t ReadOpenFile(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
  OpenFileSource& f = *static_cast<OpenFileSource*>(state);
  switch (cmd) {
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
      return 0;
    case ZIP_SOURCE_READ: {
      len = std::min(len, f.pos < f.size ? f.size - f.pos : 0);
      ssize_t n;
      do {
        n = ::pread(f.file->fd(), data, len, off_t(f.pos));
      } while (n < 0 && errno == EINTR);
      if (n < 0) {
        zip_error_set(&f.error, ZIP_ER_READ, errno);
        return -1;
      }
      f.pos += zip_uint64_t(n);
      return n;
    }
    case ZIP_SOURCE_SEEK: {
      const zip_int64_t p = zip_source_seek_compute_offset(f.pos, f.size, data, len, &f.error);
      if (p < 0) return -1;
      f.pos = zip_uint64_t(p);
      return 0;
    }
    case ZIP_SOURCE_TELL:
      return zip_int64_t(f.pos);
    case ZIP_SOURCE_STAT: {
      zip_stat_t* st = static_cast<zip_stat_t*>(data);
      zip_stat_init(st);
      st->size = f.size;
      st->valid |= ZIP_STAT_SIZE;
      return sizeof *st;
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&f.error, data, len);
    case ZIP_SOURCE_SUPPORTS:
      return ZIP_SOURCE_SUPPORTS_SEEKABLE;
    default:
      zip_error_set(&f.error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

// The archive of docPath, read from file (state) when it is open, else opened by path.
zip_t* OpenArchive(const std::string& docPath, const SourceFile* file, OpenFileSource& state) {
  int error = 0;
  if (file == nullptr || !file->ok()) return zip_open(docPath.c_str(), ZIP_RDONLY, &error);
  state = OpenFileSource{file, zip_uint64_t(std::max<std::int64_t>(file->Length(), 0))};
  zip_source_t* source = zip_source_function_create(ReadOpenFile, &state, nullptr);
  if (source == nullptr) return nullptr;
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, nullptr);
  if (archive == nullptr) zip_source_free(source);
  return archive;
}

}  // namespace

std::int64_t ExtractDocumentXml(const std::string& docPath, const std::string& folder,
                                std::int64_t maxSize, const SourceFile* file) {
  OpenFileSource state{};  // outlives the archive
  std::unique_ptr<zip_t, ZipCloser> archive(OpenArchive(docPath, file, state));
  if (!archive) return kDocxZipFailed;
  const zip_int64_t index = zip_name_locate(archive.get(), kMember, 0);
  if (index < 0) return kDocxZipFailed;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive.get(), zip_uint64_t(index), 0, &st) != 0) return kDocxZipFailed;
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
    return kDocxZipFailed;
  if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxSize)) return kDocxTooBig;
  std::unique_ptr<zip_file_t, ZipFileCloser> member(
      zip_fopen_index(archive.get(), zip_uint64_t(index), 0));
  if (!member) return kDocxZipFailed;

  const std::string target = folder + kMember;
  std::error_code ec;
  fs::create_directories(fs::path(target).parent_path(), ec);
  if (ec) return kDocxZipFailed;
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(target.c_str(), "wb"));
  if (!out) return kDocxZipFailed;
  auto fail = [&](std::int64_t code) {
    out.reset();
    fs::remove(target, ec);
    return code;
  };
  // The header's size may lie: the limit is enforced on what actually inflates, before
  // anything past it is written.
  std::vector<char> buffer(1 << 16);
  std::int64_t total = 0;
  for (;;) {
    const zip_int64_t n = zip_fread(member.get(), buffer.data(), buffer.size());
    if (n < 0) return fail(kDocxZipFailed);
    if (n == 0) break;
    total += n;
    if (total > maxSize) return fail(kDocxTooBig);
    if (std::fwrite(buffer.data(), 1, std::size_t(n), out.get()) != std::size_t(n))
      return fail(kDocxZipFailed);
  }
  if (std::fclose(out.release()) != 0) {
    fs::remove(target, ec);
    return kDocxZipFailed;
  }
  return 1;
}

std::int64_t ExtractDocx(const std::string& docPath, Host& host, bool askAboutBigFiles,
                         DocxExtraction& out, const SourceFile* file) {
  RemoveTempFolder(out.folder);
  out.folder = CreateTempFolder("TALQ");
  out.xmlPath.clear();
  out.xmlLength = 0;
  if (out.folder.empty()) {
    host.MsgBox("Cannot create temporary folder.", "Error", MsgIcon::Critical);
    return kDocxNoTempFolder;
  }
  auto fail = [&](std::int64_t code) {
    RemoveTempFolder(out.folder);
    out.folder.clear();
    return code;
  };
  const std::int64_t r = ExtractDocumentXml(docPath, out.folder, kDocxMaxSize, file);
  if (r < 0) return fail(r);
  out.xmlPath = out.folder + kMember;
  std::error_code ec;
  out.xmlLength = std::int64_t(fs::file_size(out.xmlPath, ec));
  if (ec) return fail(kDocxZipFailed);
  if (out.xmlLength > kDocxMaxSize) return fail(kDocxTooBig);
  if (out.xmlLength > kDocxWarnSize && askAboutBigFiles) {
    if (host.MsgBox(docPath + "\nis rather large.  It may take awhile to scan.\n"
                              "Do you wish to continue?",
                    "Big file", MsgIcon::Question, MsgButtons::YesNo,
                    MsgAnswer::No) != MsgAnswer::Yes) {
      host.MsgBox("You could try saving it as a text file\n"
                  "and applying this program to that text file.",
                  "Big file", MsgIcon::Information);
      return fail(kDocxDeclined);
    }
  }
  return out.xmlLength;
}

std::vector<std::string> ConvertDocumentXml(const std::string& xml,
                                            const DocxConvertCallbacks& callbacks) {
  std::vector<std::string> lines;
  std::size_t run = FindRun(xml, 0);
  while (run != std::string::npos) {
    if (callbacks.StopRequested && callbacks.StopRequested()) break;
    const std::size_t tagEnd = xml.find('>', run + 4);
    if (tagEnd == std::string::npos) break;
    if (xml[tagEnd - 1] == '/') {  // an empty run, <w:t xml:space="preserve"/>
      run = FindRun(xml, tagEnd + 1);
      continue;
    }
    const std::size_t close = xml.find("</w:t>", tagEnd + 1);
    if (close == std::string::npos) break;
    std::string text = DecodeXmlEntities(xml.substr(tagEnd + 1, close - tagEnd - 1));
    const std::size_t next = FindRun(xml, close + 6);
    if (SeparatorBetween(xml, close + 6, next == std::string::npos ? xml.size() : next))
      text += ' ';
    if (callbacks.OnRun) callbacks.OnRun(lines.size(), text, close);
    lines.push_back(std::move(text));
    run = next;
  }
  return lines;
}

std::string RemoveExtractedXml(DocxExtraction& docx, bool keepTempFolder) {
  if (docx.folder.empty()) return {};
  std::error_code ec;
  if (!docx.xmlPath.empty()) {
    fs::permissions(docx.xmlPath, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::add, ec);
    if (!fs::remove(docx.xmlPath, ec) && ec)
      return "Error when attempting to delete " + docx.xmlPath;
  }
  const std::string word = docx.folder + "word";
  fs::remove_all(word, ec);
  if (ec) return ErrorText(ec) + " when attempting to delete folder " + word;
  if (!keepTempFolder) {
    fs::remove_all(docx.folder, ec);
    if (ec) return ErrorText(ec) + " when attempting to delete folder " + docx.folder;
    docx.folder.clear();
  }
  return {};
}

std::string ConvertExtractedXml(DocxExtraction& docx, std::vector<std::string>& lines,
                                const DocxConvertCallbacks& callbacks) {
  lines.clear();
  std::string xml;
  {
    std::ifstream in(docx.xmlPath, std::ios::binary);
    if (!in) return "Cannot open " + docx.xmlPath;
    std::error_code ec;
    xml.resize(std::size_t(fs::file_size(docx.xmlPath, ec)));
    if (ec || !in.read(xml.data(), std::streamsize(xml.size())))
      return "Cannot read " + docx.xmlPath;
  }
  RemoveExtractedXml(docx, true);
  docx.xmlPath.clear();
  lines = ConvertDocumentXml(xml, callbacks);
  return {};
}

std::string WriteLinesToFile(const std::string& path, const std::vector<std::string>& lines,
                             std::size_t first, std::size_t last, bool joinUnlessPeriod) {
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
  if (!out) return std::string(std::strerror(errno)) + " when writing " + path;
  bool ok = true;
  for (std::size_t i = first; i <= last && i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ok = ok && std::fwrite(line.data(), 1, line.size(), out.get()) == line.size();
    if (joinUnlessPeriod) {
      const std::size_t end = line.find_last_not_of(' ');
      if (end != std::string::npos && line[end] == '.') ok = ok && std::fputc('\n', out.get()) != EOF;
    }
  }
  if (std::fclose(out.release()) != 0) ok = false;
  if (!ok) return std::string(std::strerror(errno)) + " when writing " + path;
  return {};
}

std::string DecodeXmlEntities(const std::string& text) {
  if (text.find('&') == std::string::npos) return text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t semi = text[i] == '&' ? text.find(';', i + 1) : std::string::npos;
    if (semi == std::string::npos || semi - i >= kMaxNumericReferenceLength) {
      out += text[i++];
      continue;
    }
    const std::string_view name = std::string_view(text).substr(i + 1, semi - i - 1);
    char32_t c = 0;
    if (name == "amp") c = '&';
    else if (name == "lt") c = '<';
    else if (name == "gt") c = '>';
    else if (name == "quot") c = '"';
    else if (name == "apos") c = '\'';
    else c = NumericReferenceValue(std::string_view(text).substr(i, semi - i + 1));
    if (c == 0) {
      out += text[i++];
      continue;
    }
    AppendUtf8(out, c);
    i = semi + 1;
  }
  return out;
}

}  // namespace talq
