// The whole demo world in a web browser, from a new game to its ending, by
// the route the Windows edition's playthrough takes (tests/e2e/route.txt).
import {test} from './lib.mjs';
import {WebPlayer, expectEnding, readRoute} from './route.mjs';

test('Playthrough.a_new_game_reaches_the_ending_by_the_windows_editions_route', async (run) => {
    const page = await run.game();
    const player = new WebPlayer(page, run.folder());
    // Lines typed at once, as the Windows playthrough's save has it.
    await player.menu('view', '[data-command="toggle-3"]');
    const started = Date.now();
    await player.play(readRoute());
    await expectEnding(player);
    console.log(`played through in ${((Date.now() - started) / 1000).toFixed(1)} s`);
}, {timeout: 300000});
