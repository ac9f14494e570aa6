// Any bytes as a run's journal, which lies under HKEY_CURRENT_USER where
// anyone of the user's could write it. A text that reads as a journal must
// encode back to the same journal: what the next run acts on is exactly what
// the text says, never a guess at a damaged part.
#include "run_journal.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    setupcore::RunJournal journal;
    if (!setupcore::DecodeJournal(text, journal))
        return 0;
    setupcore::RunJournal again;
    if (!setupcore::DecodeJournal(setupcore::EncodeJournal(journal), again) ||
        again.steps.size() != journal.steps.size() || again.place != journal.place ||
        again.product != journal.product || again.op != journal.op)
        std::abort();
    for (size_t i = 0; i < journal.steps.size(); ++i)
        if (again.steps[i].path != journal.steps[i].path ||
            again.steps[i].data != journal.steps[i].data ||
            again.steps[i].kind != journal.steps[i].kind)
            std::abort();
    return 0;
}
