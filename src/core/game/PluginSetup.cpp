#include "game/PluginSetup.h"

void RunPluginSetupPhases(const SetupPacing& pacing,
                          const std::function<void(const PluginSetupPhase&)>& phase,
                          const std::function<void(int)>& show) {
    for (const PluginSetupPhase& current : kPluginSetupPhases) {
        phase(current);
        uint32_t last = pacing.now();
        for (int position = current.first; position <= current.last; ++position) {
            // An unsigned difference stays right when the clock wraps around.
            while (static_cast<uint32_t>(pacing.now() - last) <= current.stepMs) {
                pacing.wait();
            }
            last = pacing.now();
            show(position);
        }
    }
}
