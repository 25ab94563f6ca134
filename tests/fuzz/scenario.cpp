// Scenario texts of the message window: splitting, the steps of a scene and
// the typewriter over every text line.

#include <string>

#include "FuzzSupport.h"
#include "game/GameState.h"
#include "game/Scene.h"
#include "game/Typewriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietMessages();
    InputReader input(data, size);
    const int number = input.Byte() % 20;  // some texts beyond the password slots
    const uint8_t flags = input.Byte();
    const std::string_view text = input.Rest();

    GameState state = GameState::NewGame();
    state.passwordSolved[static_cast<size_t>(flags % 16)] = flags & 0x80 ? 1 : 0;
    Scene scene;
    scene.LoadFromBytes(flags & 1 ? ScenarioKind::Message : ScenarioKind::Note, number,
                        reinterpret_cast<const uint8_t*>(text.data()), text.size());
    TypewriterMemory memory;
    Typewriter typewriter(memory);
    size_t steps = 0;
    for (SceneStep step = scene.Next(state); step.kind != SceneStep::Kind::End;
         step = scene.Next(state)) {
        FUZZ_CHECK(++steps <= scene.lines().size());
        if (step.kind == SceneStep::Kind::Password) {
            FUZZ_CHECK(step.slot >= 0 && step.slot < 16);
            state.passwordSolved[static_cast<size_t>(step.slot)] = 1;
            scene.PasswordAccepted(state);
        } else if (step.kind == SceneStep::Kind::Picture) {
            FUZZ_CHECK(step.picture.size() == 12 || step.picture.size() == 13);
        } else if (step.kind == SceneStep::Kind::Text) {
            typewriter.StartLine(step.line);
            size_t ticks = 0;
            const auto measure = [](std::string_view c) {
                return CharExtent{8 * int(c.size()), 16};
            };
            while (typewriter.Tick(200, measure)) {
                FUZZ_CHECK(++ticks <= step.line.size());
            }
        }
    }
    FUZZ_CHECK(state.disclosureStage <= 10);
    return 0;
}
