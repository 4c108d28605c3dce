#pragma once

#include <cstdint>

// The Windows-1250 code page, in which names and labels are stored: every
// byte value is one character. The five bytes the code page leaves
// undefined stand for the control characters of the same number, so that
// no stored byte is lost on its way to Unicode and back.
char16_t Windows1250ToUnicode(std::uint8_t byte);
// The byte of a UTF-16 unit; '?' for a character outside the code page.
char Windows1250FromUnicode(char16_t unit);
