// Where a run keeps its journal while it works: one binary value a product
// under HKEY_CURRENT_USER, so that the next run of the product finds it
// wherever that run installs, and whatever it was started to do. Each write
// replaces the value whole (a value is written whole or not at all) and is
// flushed before the change it announces is made.
#pragma once

#include <string>
#include <vector>

// The key that holds the journals of runs under way, below HKEY_CURRENT_USER.
extern const char kJournalKey[];

// False when the value could not be written and flushed.
bool WriteJournal(const std::string& product, const std::string& text);
// False when the product has no journal.
bool ReadJournal(const std::string& product, std::string& text);
// The products that have a journal, in no particular order.
std::vector<std::string> JournalProducts();
// Removes the product's journal, and the keys that held it once they are empty.
void ClearJournal(const std::string& product);
