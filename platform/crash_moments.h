// Moments at which a run may be ended from outside, counted so that a test
// can end the real program at any one of them: every journal write, every
// chunk a copy writes, every item an uninstallation removes. With the
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
