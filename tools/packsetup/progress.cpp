#include "packsetup/progress.h"

namespace packsetup {

ProgressMeter::ProgressMeter(const ProgressSettings& settings, uint64_t totalBytes)
    : out_(totalBytes > settings.threshold && totalBytes > 0 ? settings.out : nullptr),
      total_(totalBytes), step_(settings.step ? settings.step : 1) {}

void ProgressMeter::Advance(uint64_t bytes) {
    if (!out_)
        return;
    done_ += bytes;
    // A file that grew while it was read must not push the figure past 100.
    uint64_t capped = done_ < total_ ? done_ : total_;
    unsigned percent = static_cast<unsigned>(capped * 100 / total_);
    if (percent >= lastPrinted_ + step_ || (percent == 100 && lastPrinted_ < 100)) {
        lastPrinted_ = percent;
        Print(percent);
    }
}

void ProgressMeter::Print(unsigned percent) const {
    constexpr uint64_t kMiB = 1024 * 1024;
    uint64_t done = done_ < total_ ? done_ : total_;
    *out_ << "packsetup: " << percent << "% (" << done / kMiB << " of " << total_ / kMiB
          << " MiB)\n"
          << std::flush;
}

} // namespace packsetup
