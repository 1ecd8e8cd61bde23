// PCRE2 (8-bit, UTF) stands in for the platform's ECMAScript-style engine.
#include "text/regexp.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>
#include <unordered_map>

#include "util/utf8.h"

namespace talq {
namespace {

// A word is short; these limits leave ordinary expressions untouched and stop
// exponential backtracking within milliseconds.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 10'000;
constexpr std::size_t kJitStackMax = 1024 * 1024;
// The cache only guards against recompiling list entries; text can offer endless
// tag-like strings to IsValidRegExp, so it is emptied when it grows past this.
constexpr std::size_t kCacheMax = 20'000;

// Closest PCRE2 reading of the ECMAScript syntax: \uhhhh, unset back-references match
// empty, "[]" is an empty class, "$" only at the very end, unknown escapes are literal.
constexpr std::uint32_t kCompileOptions = PCRE2_UTF | PCRE2_UCP | PCRE2_ALT_BSUX |
                                          PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALLOW_EMPTY_CLASS |
                                          PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_INVALID_UTF |
                                          PCRE2_NEVER_BACKSLASH_C;

struct CodeDeleter {
  void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct DataDeleter {
  void operator()(pcre2_match_data* d) const { pcre2_match_data_free(d); }
};

struct Compiled {
  std::unique_ptr<pcre2_code, CodeDeleter> code;  // null: the engine refused the pattern
  std::unique_ptr<pcre2_match_data, DataDeleter> data;
};

class Engine {
 public:
  Engine() {
    compileContext_ = pcre2_compile_context_create(nullptr);
    pcre2_set_compile_extra_options(compileContext_, PCRE2_EXTRA_BAD_ESCAPE_IS_LITERAL);
    matchContext_ = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(matchContext_, kMatchLimit);
    pcre2_set_depth_limit(matchContext_, kDepthLimit);
    jitStack_ = pcre2_jit_stack_create(32 * 1024, kJitStackMax, nullptr);
    if (jitStack_ != nullptr) pcre2_jit_stack_assign(matchContext_, nullptr, jitStack_);
  }
  ~Engine() {
    cache_.clear();
    if (jitStack_ != nullptr) pcre2_jit_stack_free(jitStack_);
    pcre2_match_context_free(matchContext_);
    pcre2_compile_context_free(compileContext_);
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  const Compiled& Get(std::string_view pattern, bool ignoreCase) {
    if (pattern.data() == nullptr) pattern = "";
    std::string key;
    key.reserve(pattern.size() + 1);
    key.push_back(ignoreCase ? 'i' : 'c');
    key.append(pattern);
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
    if (cache_.size() >= kCacheMax) cache_.clear();

    Compiled c;
    int error = 0;
    PCRE2_SIZE offset = 0;
    std::uint32_t options = kCompileOptions | (ignoreCase ? PCRE2_CASELESS : 0u);
    c.code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                               options, &error, &offset, compileContext_));
    if (c.code) {
      // Without JIT support the interpreter runs under the same limits.
      pcre2_jit_compile(c.code.get(), PCRE2_JIT_COMPLETE);
      c.data.reset(pcre2_match_data_create_from_pattern(c.code.get(), nullptr));
      if (!c.data) c.code.reset();
    }
    return cache_.emplace(std::move(key), std::move(c)).first->second;
  }

  RegExpResult Search(std::string_view pattern, std::string_view subject, bool ignoreCase) {
    const Compiled& c = Get(pattern, ignoreCase);
    if (!c.code) return RegExpResult::Error;
    if (subject.data() == nullptr) subject = "";
    int rc = pcre2_match(c.code.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()),
                         subject.size(), 0, 0, c.data.get(), matchContext_);
    if (rc >= 0) return RegExpResult::Match;
    if (rc == PCRE2_ERROR_NOMATCH) return RegExpResult::NoMatch;
    return RegExpResult::Error;
  }

  void Clear() { cache_.clear(); }
  std::size_t Size() const { return cache_.size(); }

 private:
  pcre2_compile_context* compileContext_ = nullptr;
  pcre2_match_context* matchContext_ = nullptr;
  pcre2_jit_stack* jitStack_ = nullptr;
  std::unordered_map<std::string, Compiled> cache_;
};

Engine& TheEngine() {
  // One per thread: compiled patterns and their match data are not shared.
  thread_local Engine engine;
  return engine;
}

}  // namespace

bool IsValidRegExp(std::string_view pattern) {
  return TheEngine().Search(pattern, "X", true) != RegExpResult::Error;
}

bool IsValidRegExp(std::u32string_view pattern) { return IsValidRegExp(EncodeUtf8(pattern)); }

RegExpResult RegExpSearch(std::string_view pattern, std::string_view subject, bool ignoreCase) {
  return TheEngine().Search(pattern, subject, ignoreCase);
}

bool RegExpMatches(std::string_view pattern, std::string_view subject, bool ignoreCase) {
  return RegExpSearch(pattern, subject, ignoreCase) == RegExpResult::Match;
}

void ClearRegExpCache() { TheEngine().Clear(); }

std::size_t RegExpCacheSize() { return TheEngine().Size(); }

bool IsAngleBracketed(std::string_view s, std::string& inner) {
  if (!IsAngleBracketed(s)) {
    inner.clear();
    return false;
  }
  inner.assign(s.substr(1, s.size() - 2));
  return true;
}

bool IsAngleBracketed(std::string_view s) {
  return s.size() > 2 && s.front() == '<' && s.back() == '>';
}

bool IsAngleBracketed(std::u32string_view s) {
  return s.size() > 2 && s.front() == U'<' && s.back() == U'>';
}

}  // namespace talq
