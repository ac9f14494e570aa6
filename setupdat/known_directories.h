// The directories a copy run has made or found, so that each is probed once
// however many files go into it: entering a directory costs far more than
// looking its name up here.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class KnownDirectories {
public:
    // Makes every missing directory of the absolute path `directory`, root
    // outward, skipping those already known; each one made is appended to
    // `created`. False at the first that could be neither entered nor made.
    bool Ensure(const std::string& directory, std::vector<std::string>& created);
    bool Knows(const std::string& directory) const { return known_.count(directory) != 0; }
    // Forgets them all, for when one that was known has gone.
    void Forget() { known_.clear(); }

private:
    std::unordered_set<std::string> known_;
};
