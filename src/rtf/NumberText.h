#pragma once
#include <QString>

// Numbers written as lists and notes show them. Both want n > 0; Roman numbers also n < 5000.
namespace NumberText {

// i, ii, iii, iv ... in lower case.
QString roman(int n);
// a, b ... z, aa, ab ... in lower case.
QString letters(int n);

} // namespace NumberText
