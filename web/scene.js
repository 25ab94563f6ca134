// The scene's two windows: the message window, which types the scene's text
// and takes the clicks that move it on, and the picture window above it. The
// game (WebScene.cpp) draws into them and waits here for the player; while
// they show, the browser behind takes no mouse or keys.
'use strict';

const VelmoraScene = (() => {
    const $ = (id) => document.getElementById(id);
    // The system font's cell, which the game measures with: the page face at
    // this size fits it.
    const CELL_HEIGHT = 18;
    const FACE = '16px IPAGothic';
    const BASELINE = 16;

    let shown = false;
    let waiting = false;
    let fading = false;
    let pictureShown = false;
    // A click that came while the game was between two waits.
    let clicked = false;
    let wake = null;
    const timings = [[], []];  // per kind: fade steps, typewriter ticks (ms)

    const layer = () => $('scene-layer');
    const messageCanvas = () => $('message-canvas');
    const context = () => messageCanvas().getContext('2d');

    // The picture window stands right above the message window, both as high
    // in the viewport as they fit; the picture window gives up height (and
    // scrolls) when they do not.
    function layout() {
        const picture = $('picture-window');
        const message = $('message-window');
        const screen = {width: window.innerWidth, height: window.innerHeight};
        const messageWidth = message.offsetWidth;
        const messageHeight = message.offsetHeight;
        const messageLeft = Math.max(0, Math.floor((screen.width - messageWidth) / 2));
        if (!picture) {
            message.style.left = messageLeft + 'px';
            message.style.top = Math.max(0, Math.floor((screen.height - messageHeight) / 2)) + 'px';
            return;
        }
        const scroll = picture.querySelector('.picture-scroll');
        const canvas = $('picture-canvas');
        scroll.style.width = canvas.width + 'px';
        scroll.style.height = canvas.height + 'px';
        const frame = {width: picture.offsetWidth - canvas.width, height: picture.offsetHeight - canvas.height};
        const width = Math.min(picture.offsetWidth, screen.width);
        const pictureHeight = picture.offsetHeight;
        const overflow = pictureHeight + messageHeight - screen.height;
        let top = 0;
        let height = pictureHeight;
        if (overflow >= 0) {
            height = Math.max(0, pictureHeight - overflow);
        } else {
            top = (-overflow) >> 1;
        }
        scroll.style.width = Math.max(0, width - frame.width) + 'px';
        scroll.style.height = Math.max(0, height - frame.height) + 'px';
        picture.style.left = Math.max(0, Math.floor((screen.width - width) / 2)) + 'px';
        picture.style.top = top + 'px';
        message.style.left = messageLeft + 'px';
        message.style.top = (top + height) + 'px';
    }

    function clear() {
        const c = context();
        c.fillStyle = '#fff';
        c.fillRect(0, 0, messageCanvas().width, messageCanvas().height);
    }

    function wakeUp(answer) {
        if (wake) {
            const resolve = wake;
            wake = null;
            resolve(answer);
        }
    }

    function setUp() {
        const dialog = layer();
        // Enter and Escape do nothing; the dialog never closes but by the game.
        dialog.addEventListener('cancel', (event) => event.preventDefault());
        dialog.addEventListener('keydown', (event) => {
            if (event.key === 'Escape' || event.key === 'Enter') event.preventDefault();
        });
        dialog.addEventListener('close', () => {
            if (shown) dialog.showModal();
        });
        messageCanvas().addEventListener('mouseup', (event) => {
            if (event.button !== 0 || !waiting) return;
            clicked = true;
            wakeUp(true);
        });
        window.addEventListener('resize', () => { if (shown) layout(); });
    }

    return {
        // Shows the message window, white; true when there is a picture window.
        open(width, height) {
            const canvas = messageCanvas();
            if (!shown && !layer().dataset.ready) {
                layer().dataset.ready = '1';
                setUp();
            }
            canvas.width = width;
            canvas.height = height;
            clear();
            const picture = $('picture-window');
            if (picture) {
                picture.classList.remove('shown');
                const pictureContext = $('picture-canvas').getContext('2d');
                pictureContext.fillStyle = '#fff';
                pictureContext.fillRect(0, 0, $('picture-canvas').width, $('picture-canvas').height);
            }
            shown = true;
            waiting = fading = pictureShown = clicked = false;
            layer().showModal();
            layout();
            return !!picture;
        },
        clear,
        // Black on white, each character in its cell from `xs`.
        drawText(bytes, xs, y) {
            const characters = Array.from(Cp932.decode(bytes));
            const c = context();
            c.font = FACE;
            c.textBaseline = 'alphabetic';
            const count = Math.min(characters.length, xs.length);
            for (let i = 0; i < count; i++) {
                const code = characters[i].charCodeAt(0);
                const narrow = code < 0x80 || (code >= 0xff61 && code <= 0xff9f);
                const right = i + 1 < count ? xs[i + 1] : xs[i] + (narrow ? 8 : 16);
                c.fillStyle = '#fff';
                c.fillRect(xs[i], y, right - xs[i], CELL_HEIGHT);
                c.fillStyle = '#000';
                c.fillText(characters[i], xs[i], y + BASELINE);
            }
        },
        // `rgba` may be a view of the game's memory: used at once, never kept.
        drawPicture(rgba, width, height) {
            $('picture-canvas').getContext('2d').putImageData(new ImageData(rgba, width, height), 0, 0);
        },
        showPicture() {
            pictureShown = true;
            $('picture-window').classList.add('shown');
        },
        setStatus(isWaiting, isFading) {
            waiting = isWaiting;
            fading = isFading;
            if (!waiting) clicked = false;
        },
        waitForClick(ms) {
            if (clicked) {
                clicked = false;
                return Promise.resolve(true);
            }
            return new Promise((resolve) => {
                const timer = setTimeout(() => wakeUp(false), ms);
                wake = (answer) => {
                    clearTimeout(timer);
                    clicked = false;
                    resolve(answer);
                };
            });
        },
        close() {
            shown = waiting = fading = pictureShown = clicked = false;
            const picture = $('picture-window');
            if (picture) picture.classList.remove('shown');
            layer().close();
        },
        timed(kind, ms) {
            timings[kind].push(ms);
        },
        // For tests and benchmarks.
        status: () => ({open: shown, waiting, fading, picture: pictureShown}),
        timings: () => ({fadeSteps: [...timings[0]], typeTicks: [...timings[1]]}),
    };
})();
