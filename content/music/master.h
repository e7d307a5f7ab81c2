// Mastering of the rendered track: DC removal, level to the score's target, a look-ahead peak
// limiter under the ceiling and the fade at the very end.
#pragma once

#include <vector>

struct MasterReport {
    double gainDb;       // level change applied to reach the target
    double peakDb;       // peak after limiting, dBFS
    double limitedDb;    // the deepest gain reduction of the limiter, dB
};

MasterReport MasterTrack(std::vector<float>* left, std::vector<float>* right, int rate, double levelDb,
                         double ceilingDb, double fadeSeconds);
