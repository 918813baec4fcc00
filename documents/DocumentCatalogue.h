#pragma once
// The fixed list of documents that the main window offers, one row per button.

#include <array>

struct DocumentEntry {
    const char* ButtonName;    // the button on the main window that offers the document
    const char* ButtonCaption; // UTF-8, as the window's design holds it
    const char* ResourceName;  // the "FILE" resource with the document's bytes
    const char* FileName;      // code page 1251 bytes, ".doc" included
};

// In button order: row n (counting from 1) belongs to ButtonN and its ButtonNClick.
extern const std::array<DocumentEntry, 5> DocumentCatalogue;
