// fmt's formatting, compiled once for every tool: the other files include only <fmt/core.h>,
// which declares what this defines (fmt's own library does the same in its format.cc).
#include <fmt/format-inl.h>

FMT_BEGIN_NAMESPACE
namespace detail {
template FMT_API auto thousands_sep_impl(locale_ref) -> thousands_sep_result<char>;
template FMT_API auto decimal_point_impl(locale_ref) -> char;
template FMT_API void buffer<char>::append(const char*, const char*);
}  // namespace detail
FMT_END_NAMESPACE
