// One visitor out of several lambdas, one for each alternative of a std::variant.
#pragma once

namespace lumora {

template <class... Visit> struct Overloaded : Visit... { using Visit::operator()...; };
template <class... Visit> Overloaded(Visit...) -> Overloaded<Visit...>;

} // namespace lumora
