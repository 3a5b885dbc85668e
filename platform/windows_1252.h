#pragma once

// The platform's one table of the Windows-1252 code page, the single-byte text of everything inside
// the plug-in.

// The Unicode character a Windows-1252 byte stands for, as the target's code-page conversion gives
// it: bytes below $80 and from $A0 are the same code point; $80..$9F carry the typographic characters
// (€, ‚, ƒ, „, …, Š, Œ, Ž, ‘, ’, “, ”, •, –, —, ˜, ™, š, œ, ž, Ÿ), and the five bytes the code page leaves
// undefined ($81, $8D, $8F, $90, $9D) become the C1 control of the same number.
char32_t Windows1252ToUnicode(unsigned char byte);

// False for the five bytes the code page leaves undefined.
bool Windows1252Defined(unsigned char byte);

// The byte of a Unicode character, or -1 when the code page has none. The C1 controls have none,
// not even the five that Windows1252ToUnicode gives for the undefined bytes.
int UnicodeToWindows1252(char32_t code_point);

// The upper-case letter of a Windows-1252 byte, as the target folds captions to compare them: a..z,
// à..þ (but ÷), š, œ, ž and ÿ; every other byte is its own.
unsigned char Windows1252UpperCase(unsigned char byte);
