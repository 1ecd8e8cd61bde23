#include "text/entities.h"

#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_map>

namespace talq {
namespace {

constexpr EntityEntry kEntities[] = {
    {U"&lsquo;", U'\''},  {U"&rsquo;", U'\''},  {U"&ldquo;", U'\''},  {U"&rdquo;", U'\''},
    {U"&#8220;", U'\''},  {U"&#8221;", U'\''},  {U"&copy;", U'©'},    {U"&amp;", U'&'},
    {U"&nbsp;", U' '},    {U"&#160;", U' '},    {U"&#8212;", U'—'},   {U"&#8211;", U'-'},
    {U"&AElig;", U'Æ'},   {U"&Aacute;", U'Á'},  {U"&Acirc;", U'Â'},   {U"&Agrave;", U'À'},
    {U"&Aring;", U'Å'},   {U"&Atilde;", U'Ã'},  {U"&Auml;", U'Ä'},    {U"&Ccedil;", U'Ç'},
    {U"&ETH;", U'Ð'},     {U"&Eacute;", U'É'},  {U"&Ecirc;", U'Ê'},   {U"&Egrave;", U'È'},
    {U"&Euml;", U'Ë'},    {U"&Iacute;", U'Í'},  {U"&Icirc;", U'Î'},   {U"&Igrave;", U'Ì'},
    {U"&Iuml;", U'Ï'},    {U"&Ntilde;", U'Ñ'},  {U"&Oacute;", U'Ó'},  {U"&Ocirc;", U'Ô'},
    {U"&Ograve;", U'Ò'},  {U"&Oslash;", U'Ø'},  {U"&Otilde;", U'Õ'},  {U"&Ouml;", U'Ö'},
    {U"&THORN;", U'Þ'},   {U"&Uacute;", U'Ú'},  {U"&Ucirc;", U'Û'},   {U"&Ugrave;", U'Ù'},
    {U"&Uuml;", U'Ü'},    {U"&Yacute;", U'Ý'},  {U"&aacute;", U'á'},  {U"&acirc;", U'â'},
    {U"&aelig;", U'æ'},   {U"&agrave;", U'à'},  {U"&aring;", U'å'},   {U"&atilde;", U'ã'},
    {U"&auml;", U'ä'},    {U"&ccedil;", U'ç'},  {U"&eacute;", U'é'},  {U"&ecirc;", U'ê'},
    {U"&egrave;", U'è'},  {U"&eth;", U'ð'},     {U"&euml;", U'ë'},    {U"&iacute;", U'í'},
    {U"&icirc;", U'î'},   {U"&igrave;", U'ì'},  {U"&iuml;", U'ï'},    {U"&ntilde;", U'ñ'},
    {U"&oacute;", U'ó'},  {U"&ocirc;", U'ô'},   {U"&ograve;", U'ò'},  {U"&oslash;", U'ø'},
    {U"&otilde;", U'õ'},  {U"&ouml;", U'ö'},    {U"&szlig;", U'ß'},   {U"&thorn;", U'þ'},
    {U"&uacute;", U'ú'},  {U"&ucirc;", U'û'},   {U"&ugrave;", U'ù'},  {U"&uuml;", U'ü'},
    {U"&yacute;", U'ý'},  {U"&yuml;", U'ÿ'},
};

template <class Char>
char32_t ParseNumericReference(std::basic_string_view<Char> ref) {
  if (ref.size() < 4 || ref.size() > kMaxNumericReferenceLength || ref[0] != '&' ||
      ref[1] != '#' || ref.back() != ';')
    return 0;
  const bool hex = ref[2] == 'x' || ref[2] == 'X';
  const std::basic_string_view<Char> digits = ref.substr(hex ? 3 : 2, ref.size() - (hex ? 4 : 3));
  if (digits.empty()) return 0;
  std::uint32_t value = 0;
  for (Char c : digits) {
    std::uint32_t d;
    if (c >= '0' && c <= '9') d = std::uint32_t(c - '0');
    else if (hex && c >= 'a' && c <= 'f') d = std::uint32_t(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F') d = std::uint32_t(c - 'A' + 10);
    else return 0;
    value = value * (hex ? 16 : 10) + d;
    if (value > 0x10FFFF) return 0;
  }
  if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return char32_t(value);
}

}  // namespace

char32_t NumericReferenceValue(std::u32string_view ref) { return ParseNumericReference(ref); }
char32_t NumericReferenceValue(std::string_view ref) { return ParseNumericReference(ref); }

const EntityEntry* EntityTableBegin() { return std::begin(kEntities); }
const EntityEntry* EntityTableEnd() { return std::end(kEntities); }

char32_t LookUpEntity(std::u32string_view entity) {
  static const std::unordered_map<std::u32string_view, char32_t> index = [] {
    std::unordered_map<std::u32string_view, char32_t> m;
    for (const auto& e : kEntities) m.emplace(e.name, e.replacement);
    return m;
  }();
  auto it = index.find(entity);
  if (it != index.end()) return it->second;
  // The table names its numeric references in decimal; "&#x201C;" or "&#08220;" must
  // give what "&#8220;" gives, so a reference is looked up by the character it names.
  const char32_t c = NumericReferenceValue(entity);
  if (c == 0) return 0;
  std::u32string decimal = U"&#";
  for (char ch : std::to_string(std::uint32_t(c))) decimal += char32_t(ch);
  decimal += U';';
  it = index.find(decimal);
  return it == index.end() ? 0 : it->second;
}

}  // namespace talq
