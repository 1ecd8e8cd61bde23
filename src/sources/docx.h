// .docx documents: the member "word/document.xml" extracted into a private temporary folder,
// its text runs pulled out and written as a text file the per-file reader reads.
// Nothing here touches a Session: one document can be handled per thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace talq {

class Host;
class SourceFile;

// Above this XML length the user is asked before going on.
inline constexpr std::int64_t kDocxWarnSize = 10485760;
// XML longer than this is refused, whatever the archive's header claims.
inline constexpr std::int64_t kDocxMaxSize = 20971520;

// Results of ExtractDocx besides a length (0 or more).
enum DocxCode : std::int64_t {
  kDocxNoTempFolder = -1,
  kDocxTooBig = -4,
  kDocxDeclined = -5,
  kDocxZipFailed = -6,
};

// -1 no such file; 1 the first of 16 bytes are "PK", 3, 4; 0 otherwise; -2 fewer than 16
// bytes or a failed read.
int ReadZipSignature(const std::string& path);

// True when the lower-cased extension is "docx" and ReadZipSignature gives 1.
bool IsDocxFile(const std::string& path);
// Whether the open file starts like ReadZipSignature's 1 (its first 16 bytes read).
bool HasZipSignature(const SourceFile& file);

// Makes a new folder, mode 0700, named after appName in the system temporary directory.
// Returns its path with a trailing "/", or "" when it cannot be made.
std::string CreateTempFolder(const std::string& appName);

// Deletes folder and everything in it when it exists; errors are ignored.
void RemoveTempFolder(const std::string& folder);

// One document's temporary folder and the XML extracted into it. The folder is removed
// when the object goes, on every path out.
class DocxExtraction {
 public:
  DocxExtraction() = default;
  DocxExtraction(const DocxExtraction&) = delete;
  DocxExtraction& operator=(const DocxExtraction&) = delete;
  ~DocxExtraction() { RemoveTempFolder(folder); }

  std::string folder;          // with a trailing "/"; "" when none
  std::string xmlPath;         // folder + "word/document.xml"
  std::int64_t xmlLength = 0;  // bytes
};

// Extracts "word/document.xml" of the archive into folder (keeping its relative path).
// 1 done; kDocxTooBig when the member declares or inflates to more than maxSize bytes
// (nothing beyond maxSize is written); kDocxZipFailed for anything else (not a zip, no
// such member, encrypted, damaged data). A failure leaves no XML file behind. When file
// (docPath already open) is given, the archive is read from it, not opened again.
std::int64_t ExtractDocumentXml(const std::string& docPath, const std::string& folder,
                                std::int64_t maxSize = kDocxMaxSize,
                                const SourceFile* file = nullptr);

// Makes a temporary folder in out and extracts the document's XML into it. Returns the
// XML length, or a DocxCode after which out holds no folder. "Cannot create temporary
// folder." and the "Big file" question (when askAboutBigFiles) go through host.
std::int64_t ExtractDocx(const std::string& docPath, Host& host, bool askAboutBigFiles,
                         DocxExtraction& out, const SourceFile* file = nullptr);

// What a conversion reports while it runs; every member may be left unset.
struct DocxConvertCallbacks {
  // Asked before each run; true ends the conversion.
  std::function<bool()> StopRequested;
  // Each run as it is taken: its 0-based index, its text and the scan position in the XML.
  std::function<void(std::size_t index, const std::string& text, std::size_t position)> OnRun;
};

// The text runs of the XML, one per element: the text of each "<w:t>" or "<w:t ...>"
// element (look-alikes such as "<w:tab/>" skipped), its entities decoded, followed by a
// space when a line break, tab or paragraph end comes before the next run.
std::vector<std::string> ConvertDocumentXml(const std::string& xml,
                                            const DocxConvertCallbacks& callbacks = {});

// Deletes the extracted XML and the "word" folder inside the temporary folder and, unless
// keepTempFolder, the temporary folder too. Returns an error text, "" when all went well.
std::string RemoveExtractedXml(DocxExtraction& docx, bool keepTempFolder);

// Reads the extracted XML whole, removes it (and its "word" folder, keeping the temporary
// folder) and converts it into lines. Returns an error text, "" when all went well.
std::string ConvertExtractedXml(DocxExtraction& docx, std::vector<std::string>& lines,
                                const DocxConvertCallbacks& callbacks = {});

// Writes lines[first..last] to path (replaced). With joinUnlessPeriod an element ending in
// "." (trailing spaces aside) is followed by a line break; every other element runs on.
// Returns an error text, "" when all went well.
std::string WriteLinesToFile(const std::string& path, const std::vector<std::string>& lines,
                             std::size_t first, std::size_t last, bool joinUnlessPeriod);

// Decodes "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and numeric character references in
// one pass (so "&amp;lt;" gives "&lt;"); anything else is kept as it is.
std::string DecodeXmlEntities(const std::string& text);

}  // namespace talq
