#pragma once

// Marks what libkzr40.so offers its host: the entry points and the classes that cross the boundary
// (records, lists, texts, fonts, the table object, the entity and the errors the entry points raise).
// Everything else is built with hidden visibility and stays inside the library.
#define KZR40_API __attribute__((visibility("default")))
