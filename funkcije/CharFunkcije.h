// CharFunkcije: string helpers on NUL-terminated character arrays.
//
// Positions count from 0.  The caller provides the output space; the helpers
// that copy never write more than the stated count plus the terminator.
// Only substr checks its arguments (fatal through funkcijeError).
#ifndef NIVEX_FUNKCIJE_CHARFUNKCIJE_H
#define NIVEX_FUNKCIJE_CHARFUNKCIJE_H

// At most len characters of s from pos (fewer at the end of s) into out.
void substr(const char* s, int pos, int len, char* out);
// s from pos to its end into out.
void substr(const char* s, int pos, char* out);
// 1 when t occurs in s (an empty t is found), else 0.
int strfind(const char* s, const char* t);
// Position of the first c in s, or -1.
int index(const char* s, char c);
// Position of the last c in s, or -1.
int indexLast(const char* s, char c);
// Position of the first occurrence of t in s, or -1; an empty t gives 0.
int index(const char* s, const char* t);
// n copies of c, then the terminator.
void strcpy(char* out, char c, int n);
void strng(char* out, char c, long n);
// Remove trailing, leading, or both kinds of blanks (the blank only, not tabs).
void trimr(char* s);
void triml(char* s);
void trim(char* s);

#endif
