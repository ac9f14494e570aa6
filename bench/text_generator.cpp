#include "text_generator.h"

#include <algorithm>
#include <cstring>

namespace bench {

TextGenerator::TextGenerator(uint64_t seed) : random_(seed) {
    // One vocabulary for every seed: only the choice of words differs.
    Random vocabulary(0x5EED1234ABCDull);
    for (std::string& word : words_) {
        const uint32_t length = 2 + vocabulary.Below(9);
        for (uint32_t j = 0; j < length; ++j)
            word += static_cast<char>('a' + vocabulary.Below(26));
    }
}

void TextGenerator::Fill(char* out, size_t size) {
    while (size) {
        if (next_ == line_.size())
            NextLine();
        const size_t take = std::min(size, line_.size() - next_);
        std::memcpy(out, line_.data() + next_, take);
        out += take;
        size -= take;
        next_ += take;
    }
}

// A line of 6 to 15 words.
void TextGenerator::NextLine() {
    line_.clear();
    next_ = 0;
    const uint32_t count = 6 + random_.Below(10);
    for (uint32_t i = 0; i < count; ++i) {
        if (i)
            line_ += ' ';
        if (random_.Below(8) == 0)
            AppendNumber();
        else
            AppendWord();
    }
    line_ += random_.Below(4) ? ".\r\n" : ",\r\n";
}

void TextGenerator::AppendNumber() {
    const uint32_t digits = 1 + random_.Below(6);
    for (uint32_t j = 0; j < digits; ++j)
        line_ += static_cast<char>('0' + random_.Below(10));
}

// The product of three uniform draws, scaled to the vocabulary, makes the
// first words far more common than the last.
void TextGenerator::AppendWord() {
    const uint64_t a = random_.Below(4096), b = random_.Below(4096), c = random_.Below(4096);
    line_ += words_[static_cast<size_t>((a * b * c) >> 24)];
}

} // namespace bench
