#pragma once
// The catalogue of device type codes. The code is the device's id in the library,
// the document's current device id and the factory's key.

#include <span>

namespace radove {

struct CatalogueEntry {
  int code;
  const char* className;
  const char* model;  // short model name, as printed on the module
};

std::span<const CatalogueEntry> Catalogue();
// nullptr for a code that is not in the catalogue.
const CatalogueEntry* FindCatalogueEntry(int code);

}  // namespace radove
