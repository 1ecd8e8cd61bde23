// Zip archives for tests: writing .docx fixtures and reading members back (libzip).
#pragma once

#include <zip.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talq::test {

// Writes an archive holding the members (name -> bytes), deflated; with a password, the
// members are encrypted. Returns false when libzip refuses.
inline bool WriteZip(const std::string& path, const std::map<std::string, std::string>& members,
                     const char* password = nullptr) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) return false;
  for (const auto& [name, bytes] : members) {
    // libzip reads the buffer at zip_close: it must outlive the loop, which `members` does.
    zip_source_t* src = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
    const zip_int64_t i = src ? zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE) : -1;
    if (i < 0 || zip_set_file_compression(z, zip_uint64_t(i), ZIP_CM_DEFLATE, 9) != 0 ||
        (password && zip_file_set_encryption(z, zip_uint64_t(i), ZIP_EM_AES_256, password) != 0)) {
      zip_discard(z);
      return false;
    }
  }
  return zip_close(z) == 0;
}

// A .docx holding document.xml (and the content-types part every document has).
inline bool WriteDocx(const std::string& path, const std::string& documentXml) {
  return WriteZip(path, {{"[Content_Types].xml", "<Types/>"}, {"word/document.xml", documentXml}});
}

// The XML of a document with one paragraph per entry, each paragraph's runs as given.
inline std::string DocumentXml(const std::vector<std::vector<std::string>>& paragraphs) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<w:document xmlns:w=\"http://example.com/w\"><w:body>";
  for (const auto& runs : paragraphs) {
    xml += "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>";
    for (const auto& r : runs) xml += "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">" + r + "</w:t></w:r>";
    xml += "</w:p>";
  }
  return xml + "<w:sectPr/></w:body></w:document>";
}

// The bytes of one member, or nullopt when the archive or the member cannot be read.
inline std::optional<std::string> ReadZipMember(const std::string& path, const std::string& name) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!z) return std::nullopt;
  std::optional<std::string> out;
  zip_stat_t st;
  zip_file_t* f = nullptr;
  if (zip_stat(z, name.c_str(), 0, &st) == 0 && (f = zip_fopen(z, name.c_str(), 0)) != nullptr) {
    std::string bytes(st.size, '\0');
    if (zip_fread(f, bytes.data(), st.size) == zip_int64_t(st.size)) out = std::move(bytes);
    zip_fclose(f);
  }
  zip_discard(z);
  return out;
}

// Rewrites the uncompressed size that the local and central headers of a one-member
// archive declare (a lying header).
inline void SetDeclaredSize(std::string& archive, std::uint32_t size) {
  const std::size_t local = archive.find("PK\x03\x04");
  const std::size_t central = archive.find("PK\x01\x02");
  if (local != std::string::npos) std::memcpy(&archive[local + 22], &size, 4);
  if (central != std::string::npos) std::memcpy(&archive[central + 24], &size, 4);
}

}  // namespace talq::test
