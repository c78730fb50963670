// Numbers typed into the editor's text fields.
#pragma once

// The longest decimal prefix of the text, as the C library's strtod reads it
// in the "C" locale (a point is the decimal separator whatever the user's
// locale); 0 when the text does not start with a number.
double readDecimal(const char* text);
