#pragma once
// Writing one embedded document into the document folder and having the desktop open it.

#include "DocumentCatalogue.h"

#include <string>

class TWinControl;

// One request to create the document folder, one level deep. Its outcome is not examined:
// a folder that cannot be made shows up as the file error of OpenDocument.
void EnsureDocumentFolder();

// Writes the entry's document, whole, over any earlier copy, and only then asks the
// desktop to open it with the owner's window as the parent of whatever it shows.
// Raises EResNotFound, EFCreateError or EWriteError; an earlier copy survives every failure.
void OpenDocument(const DocumentEntry& entry, TWinControl* owner);

// Where the entry is written, in the host's file-name encoding.
std::string DocumentPath(const DocumentEntry& entry);
