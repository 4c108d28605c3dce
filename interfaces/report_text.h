#pragma once

#include <string>

#include "date_time.h"
#include "report_interface.h"

// Fixed-column text for reports. The const char* results point into three
// buffers of the library that the next call of a function sharing the buffer
// overwrites: the text buffer (Space, PakLStr, PakStr, Repli; at most 1023
// characters), the number buffer (Str; at most 255) and the date buffer
// (DTOC, DTOCDM). A longer result is cut; a negative count or width is 0.
// User-interface thread only.

// n blanks.
WENDLOW_API const char* Space(int n);
// The text left-justified in n columns: blanks after it, or cut to its
// first n characters.
WENDLOW_API const char* PakLStr(const char* text, int n);
WENDLOW_API const char* PakLStr(const std::string& text, int n);
// The text right-justified in n columns: blanks before it, or cut to its
// first n characters.
WENDLOW_API const char* PakStr(const char* text, int n);
WENDLOW_API const char* PakStr(const std::string& text, int n);
// n copies of ch.
WENDLOW_API const char* Repli(char ch, int n);
// "%*.*f" with the user's decimal character.
WENDLOW_API const char* Str(double x, int width, int decimals);
// "%*d" and "%d".
WENDLOW_API const char* Str(long x, int width);
WENDLOW_API const char* Str(long x);
// "dd.mm.yyyy", or "dd.mm.yy" without longYear; -1 for a part of an
// invalid date.
WENDLOW_API const char* DTOC(const DateTime& date, bool longYear);
// "dd.mm".
WENDLOW_API const char* DTOCDM(const DateTime& date);
// The current local date and time.
WENDLOW_API DateTime Date();
// The amount in Bosnian words (Windows-1250), cents as "i nn/100"; empty
// for an amount outside 0 <= amount < 10^12.
WENDLOW_API std::string BrToSl(double amount);
