// SIGINT and SIGTERM end the show through its normal shutdown sequence, not mid-frame.
#pragma once

// From now on the first termination signal reaches the window procedure as a close request; a
// second one ends the program the default way.
void InstallTerminationHandlers();
// True once a termination signal has arrived (it is then posted as a close message).
bool TerminationRequested();
// How many termination signals have arrived, held ones included.
int TerminationSignalCount();
// While held, every termination signal is only noted (the first still counts as the request), so
// that a file under way is finished and moved into place; released, the next one ends the program
// again once a request has come.
void HoldTerminationSignals(bool hold);
