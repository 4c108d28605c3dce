#pragma once

// The character that numbers in reports use for the decimal point: the
// user's, read once (UserDecimalCharacter) and kept.
char DecimalCharacter();

// The decimal point of the locale the environment names now (LC_ALL,
// LC_NUMERIC, LANG), without switching the process's own locale; ',' when
// that locale cannot be had or names none.
char UserDecimalCharacter();

// Puts another in its place (tests write under a chosen character).
void SetDecimalCharacter(char decimal);
