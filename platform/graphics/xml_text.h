#pragma once

#include <string>
#include <string_view>

// Windows-1252 text as the character data of an XML 1.0 document in UTF-8: "&", "<" and ">" become
// entities, every byte its Unicode character. What XML cannot hold at all (the C0 controls but tab,
// line feed and carriage return) and the five bytes the code page leaves undefined become U+FFFD,
// so that any text of a diagram gives a well-formed document.
void AppendXmlText(std::string& out, std::string_view cp1252);
