// Moments at which a run may be ended from outside, counted so that a test
// can end the real program at any one of them: every journal write, every
// file the copy run takes from its workers (which are writing the files
// after it meanwhile), every item an uninstallation removes. The count is the
// same from run to run of the same operation. With the
// environment variable KESTREL_SETUP_END_AT set to N, the process ends
// itself at once, as TerminateProcess ends it, at the Nth moment; without
// it, counting is all that happens.
#pragma once

// Counts one moment, and ends the process when it is the one asked for.
void PassMoment();
// The moments counted so far; with the variable set, whoever ends the run
// may report them.
long MomentsPassed();
bool MomentsAreWatched();
