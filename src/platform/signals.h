// SIGINT and SIGTERM end the show through its normal shutdown sequence, not mid-frame.
#pragma once

// From now on a termination signal reaches the window procedure as a close request.
void InstallTerminationHandlers();
// True once a termination signal has arrived (it is then posted as a close message).
bool TerminationRequested();
