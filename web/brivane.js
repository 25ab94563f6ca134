// The web page around the game: it fetches the world, runs the title screen,
// and is the browser's chrome (menus, bars, dialogs, form controls) and its
// page canvas. Every decision is the game's (velmora.wasm); this script only
// shows what the game draws and tells the game what the player does.
'use strict';

(() => {
    const $ = (id) => document.getElementById(id);
    const ARCHIVES = ['cg.arc', 'ex.arc', 'Text.arc', 'parts.arc'];
    const ART = ['back', 'forward', 'home', 'search', 'favourites'];
    const MAX_PAGE_WIDTH = 1400;
    const MAX_PAGE_HEIGHT = 2600;
    // The system's timers fire no more often than this.
    const TIMER_MINIMUM_MS = 10;
    const SAVE_KEY = 'velmora.dat';
    // The chrome's own colours, given to the tool buttons' pictures in place
    // of the key colours they are drawn with (red in the low byte).
    const CHROME_COLOURS = {highlight: 0xffffff, shadow: 0x808080, border: 0xc8d0d4};
    // Edge colours: dark shadow, shadow, light, highlight.
    const EDGES = [['#404040', '#d4d0c8'], ['#d4d0c8', '#808080'], ['#808080', '#ffffff']];

    let game = null;  // the module
    let chrome = null;  // the chrome's numbers, from the game
    const text = (bytes) => Cp932.decode(bytes);
    const rgb = (c) => `rgb(${c & 255},${(c >>> 8) & 255},${(c >>> 16) & 255})`;

    // --- Calls into the game -------------------------------------------------
    // Calls that may wait for the player (a dialog) run one after another.
    let queue = Promise.resolve();
    function call(name, ...args) {
        return game['_' + name](...args);
    }
    function result(length) {
        const at = call('vm_result');
        return game.HEAPU8.slice(at, at + length);
    }
    function withBytes(bytes, fn) {
        const at = game._malloc(Math.max(bytes.length, 1));
        game.HEAPU8.set(bytes, at);
        const done = () => game._free(at);
        try {
            const r = fn(at, bytes.length);
            if (r instanceof Promise) return r.finally(done);
            done();
            return r;
        } catch (e) {
            done();
            throw e;
        }
    }
    function run(name, types = [], args = []) {
        queue = queue.then(() => game.ccall(name, 'number', types, args, {async: true}))
            .catch((e) => console.error(e));
        return queue;
    }
    function runWithText(name, bytes, extraTypes = [], extra = []) {
        queue = queue.then(() => withBytes(bytes, (at, n) =>
            game.ccall(name, 'number', ['number', 'number', ...extraTypes], [at, n, ...extra], {async: true})))
            .catch((e) => console.error(e));
        return queue;
    }

    // --- Messages -------------------------------------------------------------
    const messages = [];
    let messageShown = false;
    function showNextMessage() {
        if (messageShown || messages.length === 0) return;
        const {body, caption, resolve} = messages.shift();
        messageShown = true;
        const dialog = $('message-dialog');
        dialog.querySelector('.caption').textContent = caption || 'Ｖｅｌｍｏｒａ';
        $('message-text').textContent = body;
        closeMenus();
        dialog.showModal();
        $('message-ok').focus();
        const close = () => {
            $('message-ok').removeEventListener('click', close);
            dialog.removeEventListener('cancel', close);
            dialog.close();
            messageShown = false;
            resolve();
            showNextMessage();
        };
        $('message-ok').addEventListener('click', close);
        dialog.addEventListener('cancel', close);
    }
    function message(body, caption = '') {
        return new Promise((resolve) => {
            messages.push({body, caption, resolve});
            showNextMessage();
        });
    }

    // --- The page canvas --------------------------------------------------------
    const back = document.createElement('canvas');
    back.width = MAX_PAGE_WIDTH;
    back.height = MAX_PAGE_HEIGHT;
    const backContext = back.getContext('2d');
    const page = $('page');
    const pageContext = page.getContext('2d');
    const scrollBox = $('page-scroll');
    const scratch = document.createElement('canvas');
    let pageSize = {width: 0, height: 0};
    let toldScroll = {x: 0, y: 0};  // where the game thinks the view stands

    function showPage() {
        const width = Math.min(Math.max(pageSize.width, scrollBox.clientWidth), MAX_PAGE_WIDTH);
        const height = Math.min(Math.max(pageSize.height, scrollBox.clientHeight), MAX_PAGE_HEIGHT);
        if (page.width !== width || page.height !== height) {
            page.width = width;
            page.height = height;
        }
        $('page-layer').style.width = width + 'px';
        $('page-layer').style.height = height + 'px';
        pageContext.drawImage(back, 0, 0, width, height, 0, 0, width, height);
    }

    function pictureCanvas(rgba, width, height) {
        scratch.width = width;
        scratch.height = height;
        const context = scratch.getContext('2d');
        context.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
        return scratch;
    }

    const controls = new Map();
    let pagesDrawn = 0;
    let titleFrames = 0;

    const shell = {
        fillRect(x, y, w, h, colour) {
            backContext.fillStyle = rgb(colour);
            backContext.fillRect(x, y, w, h);
        },
        drawEdge(x, y, w, h, style) {
            const [topLeft, bottomRight] = EDGES[style] || EDGES[0];
            backContext.fillStyle = topLeft;
            backContext.fillRect(x, y, w - 1, 1);
            backContext.fillRect(x, y, 1, h - 1);
            backContext.fillStyle = bottomRight;
            backContext.fillRect(x, y + h - 1, w, 1);
            backContext.fillRect(x + w - 1, y, 1, h);
        },
        drawCharacters(bytes, xs, y, em, ascent, bold, underline, colour, opaque, cellWidth, cellHeight) {
            const characters = Array.from(text(bytes));
            const c = backContext;
            c.font = `${bold ? 'bold ' : ''}${em}px IPAGothic`;
            c.textBaseline = 'alphabetic';
            const count = Math.min(characters.length, xs.length);
            for (let i = 0; i < count; i++) {
                const wide = characters[i].charCodeAt(0) > 0xff && !(characters[i] >= '\uff61' && characters[i] <= '\uff9f');
                if (opaque) {
                    c.fillStyle = '#ffffff';
                    c.fillRect(xs[i], y, wide ? cellWidth * 2 : cellWidth, cellHeight);
                }
                c.fillStyle = rgb(colour);
                c.fillText(characters[i], xs[i], y + ascent);
            }
            if (underline && count > 0) {
                const last = characters[count - 1];
                const right = xs[count - 1] + (last.charCodeAt(0) > 0xff ? cellWidth * 2 : cellWidth);
                c.fillRect(xs[0], y + ascent + 1, right - xs[0], 1);
            }
        },
        drawPicture(mode, x, y, w, h, rgba, pw, ph) {
            const source = pictureCanvas(rgba, pw, ph);
            const c = backContext;
            c.imageSmoothingEnabled = false;
            if (mode === 0) {
                const cw = Math.min(w, pw);
                const ch = Math.min(h, ph);
                c.drawImage(source, 0, 0, cw, ch, x, y, cw, ch);
            } else {
                c.drawImage(source, 0, 0, pw, ph, x, y, w, h);
            }
        },
        clip(x, y, w, h) {
            backContext.save();
            backContext.beginPath();
            backContext.rect(x, y, w, h);
            backContext.clip();
        },
        unclip() {
            backContext.restore();
        },
        pagePainted(width, height) {
            pageSize = {width, height};
            showPage();
            // For benchmarks and tests: each page drawn, counted.
            pagesDrawn++;
            performance.mark('velmora-page-drawn');
        },
        linkRepainted() {
            showPage();
        },
        scrollToTop() {
            scrollBox.scrollTo(0, 0);
            toldScroll = {x: 0, y: 0};
        },
        titleFrame(rgba, width, height) {
            const canvas = $('title-canvas');
            canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
            if (titleFrames++ === 0) performance.mark('velmora-title-frame');
        },
        setStatus(bytes) {
            $('status-text').textContent = text(bytes);
        },
        setTitle(bytes) {
            document.title = text(bytes);
        },
        showAddress(bytes) {
            $('address').value = text(bytes);
        },
        historyChanged(canGoBack, canGoForward) {
            setToolEnabled(0, canGoBack);
            setToolEnabled(1, canGoForward);
        },
        progress(what, a, b) {
            const bar = $('progress');
            if (what === 0) {
                bar.max = Math.max(b - a, 1);
                bar.value = 0;
            } else if (what === 1) {
                bar.value = a;
            } else {
                bar.value = Number(bar.value) + a;
            }
            bar.hidden = Number(bar.value) <= 0;
        },
        playPageSound(bytes) {
            playPageSound(text(bytes));
        },
        saveGame(bytes) {
            // One item, written whole or not at all: a closed tab keeps the last good save.
            try {
                let binary = '';
                for (let i = 0; i < bytes.length; i++) binary += String.fromCharCode(bytes[i]);
                localStorage.setItem(SAVE_KEY, btoa(binary));
                return true;
            } catch (e) {
                return false;
            }
        },
        showMessage(bytes, caption) {
            message(text(bytes), text(caption));
        },
        saveFile(nameBytes, bytes) {
            downloadFile(text(nameBytes), bytes);
        },
        favouritesChanged() {
            rebuildFavourites();
        },
        createControl(id, kind, x, y, w, h, bytes) {
            const element = document.createElement(kind >= 2 ? 'button' : 'input');
            element.className = 'page-control';
            element.dataset.controlId = id;
            if (kind < 2) {
                element.type = kind === 1 ? 'password' : 'text';
                element.value = text(bytes);
                element.addEventListener('input', () => call('vm_control_changed', id));
                element.addEventListener('keydown', (event) => {
                    if (event.key === 'Enter' && !event.isComposing) {
                        event.preventDefault();
                        run('vm_control_enter', ['number'], [id]);
                    }
                });
            } else {
                element.type = 'button';
                element.textContent = text(bytes);
                element.addEventListener('click', () => run('vm_control_press', ['number'], [id]));
            }
            controls.set(id, element);
            $('page-layer').appendChild(element);
            shell.moveControl(id, x, y, w, h);
        },
        moveControl(id, x, y, w, h) {
            const element = controls.get(id);
            if (!element) return;
            // The game places controls in the view as it stood; the layer scrolls with the page.
            element.style.left = (x + toldScroll.x) + 'px';
            element.style.top = (y + toldScroll.y) + 'px';
            element.style.width = w + 'px';
            element.style.height = h + 'px';
        },
        showControl(id, shown) {
            const element = controls.get(id);
            if (element) element.hidden = !shown;
        },
        setControlText(id, bytes) {
            const element = controls.get(id);
            if (!element) return;
            if (element.tagName === 'INPUT') element.value = text(bytes);
            else element.textContent = text(bytes);
        },
        controlText(id) {
            const element = controls.get(id);
            if (!element) return new Uint8Array(0);
            return Cp932.encodeLoosely(element.tagName === 'INPUT' ? element.value : element.textContent);
        },
        destroyControl(id) {
            const element = controls.get(id);
            if (element) element.remove();
            controls.delete(id);
        },
        // The password dialog and the plug-in set-up (dialogs.js).
        dialogs: VelmoraDialogs.create({message, closeMenus}),
        offerDownload(nameBytes) {
            return modal('download-dialog', (dialog, finish) => {
                $('download-file').textContent = text(nameBytes);
                $('download-ok').onclick = () => finish(true);
                $('download-cancel').onclick = () => finish(false);
            });
        },
    };

    // A modal dialog: `setUp(dialog, finish)` wires its buttons; Escape cancels.
    function modal(id, setUp) {
        return new Promise((resolve) => {
            const dialog = $(id);
            closeMenus();
            const finish = (answer) => {
                dialog.removeEventListener('cancel', cancel);
                dialog.close();
                resolve(answer);
            };
            const cancel = (event) => {
                event.preventDefault();
                finish(false);
            };
            dialog.addEventListener('cancel', cancel);
            setUp(dialog, finish);
            dialog.showModal();
        });
    }

    function downloadFile(name, bytes) {
        const url = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
        const link = document.createElement('a');
        link.href = url;
        link.download = name;
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(url), 60000);
    }

    // --- Sounds ------------------------------------------------------------------
    const pageSound = new Audio();
    pageSound.loop = true;
    let pageSoundName = '';
    function soundUrl(name) {
        return name.replace(/\\/g, '/').split('/').map(encodeURIComponent).join('/');
    }
    function playPageSound(name) {
        // The same sound goes on; another starts from its beginning.
        if (name === pageSoundName && !pageSound.paused) return;
        pageSoundName = name;
        pageSound.src = soundUrl(name);
        pageSound.play().catch(() => {});
    }
    pageSound.addEventListener('error', () => fetchFailed());
    // A file the server no longer gives: said once; the game goes on with what it has.
    function fetchFailed() {
        if (gameStarted) call('vm_fetch_failed');
    }

    // --- Loading the world -------------------------------------------------------
    async function fetchWithProgress(url, onBytes) {
        let response;
        try {
            response = await fetch(url, {cache: 'no-cache'});
        } catch (e) {
            return null;
        }
        if (!response.ok || !response.body) return null;
        const reader = response.body.getReader();
        const chunks = [];
        let size = 0;
        for (;;) {
            let part;
            try {
                part = await reader.read();
            } catch (e) {
                return null;
            }
            if (part.done) break;
            chunks.push(part.value);
            size += part.value.length;
            onBytes(part.value.length);
        }
        const bytes = new Uint8Array(size);
        let at = 0;
        for (const chunk of chunks) {
            bytes.set(chunk, at);
            at += chunk.length;
        }
        return bytes;
    }

    async function loadWorld() {
        const sizes = await Promise.all(ARCHIVES.map(async (name) => {
            try {
                const head = await fetch(name, {method: 'HEAD', cache: 'no-cache'});
                return head.ok ? Number(head.headers.get('content-length')) || 0 : 0;
            } catch (e) {
                return 0;
            }
        }));
        const total = Math.max(sizes.reduce((a, b) => a + b, 0), 1);
        let loaded = 0;
        const bar = $('loading-progress');
        game.FS.mkdir('/world');
        for (const name of ARCHIVES) {
            $('loading-text').textContent = name;
            const bytes = await fetchWithProgress(name, (n) => {
                loaded += n;
                bar.value = Math.min(100, Math.floor(loaded * 100 / total));
            });
            // A missing archive is not written: the game says so when it opens it.
            if (bytes !== null) game.FS.writeFile('/world/' + name, bytes);
        }
        game.FS.mkdir('/art');
        const art = ['logo.bmp'];
        for (const name of ART) for (const state of ['normal', 'pressed', 'disabled']) art.push(`${name}-${state}.bmp`);
        await Promise.all(art.map(async (name) => {
            const bytes = await fetchWithProgress('art/' + name, () => {});
            if (bytes !== null) game.FS.writeFile('/art/' + name, bytes);
        }));
        game.FS.chdir('/world');
        bar.value = 100;
        // A missing or damaged archive is told here, before the title.
        call('vm_open_world');
    }

    // --- Title screen --------------------------------------------------------------
    const titleTimers = new Map();
    const titleMusic = new Audio('wave/title.wav');
    titleMusic.loop = true;

    function titleAnswer(answer) {
        if (answer === 'enter') return true;
        const [stop, start] = answer.split(';');
        for (const id of stop.split(' ').slice(1)) {
            clearInterval(titleTimers.get(Number(id)));
            titleTimers.delete(Number(id));
        }
        const started = start.split(' ').slice(1).map(Number);
        if (started.length === 2) {
            const [id, period] = started;
            clearInterval(titleTimers.get(id));
            titleTimers.set(id, setInterval(() => onTitleTimer(id), Math.max(period, TIMER_MINIMUM_MS)));
        }
        return false;
    }
    function onTitleTimer(id) {
        titleAnswer(text(result(call('vm_title_timer', id))));
    }

    function runTitle() {
        return new Promise((resolve) => {
            $('loading').hidden = true;
            $('title').hidden = false;
            const canvas = $('title-canvas');
            const context = canvas.getContext('2d');
            context.fillStyle = '#000';
            context.fillRect(0, 0, canvas.width, canvas.height);
            titleAnswer(text(result(call('vm_title_start'))));
            canvas.focus();
            // Browsers let sound start only once the player has done something.
            const startMusic = () => titleMusic.play().catch(() => {});
            startMusic();
            const enter = () => {
                for (const handle of titleTimers.values()) clearInterval(handle);
                titleTimers.clear();
                titleMusic.pause();
                canvas.removeEventListener('mouseup', onClick);
                document.removeEventListener('keydown', onKey);
                call('vm_title_end');
                $('title').hidden = true;
                resolve();
            };
            const onClick = (event) => {
                if (event.button !== 0) return;
                startMusic();
                if (titleAnswer(text(result(call('vm_title_click'))))) enter();
            };
            const onKey = (event) => {
                startMusic();
                if (event.key === 'Enter') enter();
            };
            canvas.addEventListener('mouseup', onClick);
            document.addEventListener('keydown', onKey);
        });
    }

    // --- The chrome -------------------------------------------------------------------
    const toolButtons = ['go-back', 'go-forward', 'go-home', 'go-search', 'go-favourites'].map($);
    const toolPictures = [];  // per button: {normal, pressed, disabled} canvases
    const toolEnabled = [false, false, true, true, true];

    function artPicture(name, colours) {
        const bytes = withBytes(new TextEncoder().encode(name), (at, n) =>
            result(call('vm_button_picture', at, n, colours.highlight, colours.shadow, colours.border)));
        if (bytes.length < 8) return null;
        const view = new DataView(bytes.buffer);
        const width = view.getInt32(0, true);
        const height = view.getInt32(4, true);
        const canvas = document.createElement('canvas');
        canvas.width = width;
        canvas.height = height;
        canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(bytes.slice(8)), width, height), 0, 0);
        return canvas;
    }

    function drawTool(index, state) {
        const canvas = toolButtons[index].querySelector('canvas');
        const picture = toolPictures[index] && toolPictures[index][state];
        if (!picture) return;
        canvas.width = picture.width;
        canvas.height = picture.height;
        canvas.getContext('2d').drawImage(picture, 0, 0);
    }
    function setToolEnabled(index, enabled) {
        toolEnabled[index] = enabled;
        toolButtons[index].disabled = !enabled;
        drawTool(index, enabled ? 'normal' : 'disabled');
    }

    function setUpToolbar() {
        let left = chrome.firstToolButtonLeft;
        const top = Math.floor((40 - chrome.toolButtonSize) / 2) + 2;
        toolButtons.forEach((button, i) => {
            button.style.left = left + 'px';
            button.style.top = top + 'px';
            left += chrome.toolButtonShifts[i];
            toolPictures[i] = {};
            for (const state of ['normal', 'pressed', 'disabled']) {
                toolPictures[i][state] = artPicture(`${ART[i]}-${state}.bmp`, CHROME_COLOURS);
            }
            drawTool(i, toolEnabled[i] ? 'normal' : 'disabled');
            button.addEventListener('mousedown', () => { if (toolEnabled[i]) drawTool(i, 'pressed'); });
            const release = () => drawTool(i, toolEnabled[i] ? 'normal' : 'disabled');
            button.addEventListener('mouseup', release);
            button.addEventListener('mouseleave', release);
            button.addEventListener('click', () => command(button.dataset.command));
        });
    }

    function setUpLogo() {
        const strip = artPicture('logo.bmp', {highlight: 0, shadow: 0, border: 0});
        const canvas = $('logo');
        if (!strip) return;
        canvas.width = chrome.logoFrameWidth;
        canvas.height = Math.min(strip.height, 18);
        let frame = 0;
        const draw = () => {
            canvas.getContext('2d').drawImage(strip, frame * chrome.logoFrameWidth, 0, chrome.logoFrameWidth,
                canvas.height, 0, 0, chrome.logoFrameWidth, canvas.height);
            frame = (frame + 1) % chrome.logoFramesShown;
        };
        draw();
        setInterval(draw, chrome.logoIntervalMs);
    }

    // Menus
    let openMenu = null;
    function closeMenus() {
        if (openMenu) {
            openMenu.classList.remove('open');
            openMenu = null;
            // The idle message: an empty status bar.
            $('status-text').textContent = '';
        }
    }
    function showMenu(menu) {
        closeMenus();
        if (menu.dataset.menu === 'view') {
            for (let i = 0; i < 4; i++) {
                menu.querySelector(`[data-command="toggle-${i}"]`).classList.toggle('checked', !!call('vm_setting', i));
            }
        }
        menu.classList.add('open');
        openMenu = menu;
        const first = menu.querySelector('.menu-items button');
        if (first) first.focus();
    }
    function setUpMenus() {
        for (const menu of document.querySelectorAll('.menu')) {
            const title = menu.querySelector('.menu-title');
            title.addEventListener('mousedown', (event) => {
                event.preventDefault();
                if (openMenu === menu) closeMenus(); else showMenu(menu);
            });
            title.addEventListener('mouseenter', () => { if (openMenu && openMenu !== menu) showMenu(menu); });
            menu.querySelector('.menu-items').addEventListener('click', (event) => {
                const item = event.target.closest('button[data-command], button[data-favourite]');
                if (!item) return;
                closeMenus();
                if (item.dataset.favourite !== undefined) {
                    run('vm_open_favourite', ['number'], [Number(item.dataset.favourite)]);
                } else {
                    command(item.dataset.command);
                }
            });
            menu.querySelector('.menu-items').addEventListener('mouseover', (event) => {
                const item = event.target.closest('button');
                if (item) $('status-text').textContent = item.dataset.prompt || '';
            });
        }
        document.addEventListener('mousedown', (event) => {
            if (openMenu && !event.target.closest('.menu')) closeMenus();
        });
    }

    function rebuildFavourites() {
        const lines = text(result(call('vm_favourites_menu'))).split('\n').filter((l) => l.length > 0);
        const columns = $('favourites-menu');
        while (columns.children.length > 1) columns.lastChild.remove();
        const first = columns.firstElementChild;
        for (const extra of first.querySelectorAll('[data-favourite]')) extra.remove();
        let column = first;
        for (const line of lines) {
            const [index, newColumn, ...title] = line.split('\t');
            if (newColumn === '1') {
                column = document.createElement('div');
                column.className = 'menu-column';
                columns.appendChild(column);
            }
            const item = document.createElement('button');
            item.dataset.favourite = index;
            item.textContent = title.join('\t');
            column.appendChild(item);
        }
        fillFavouriteList($('favourites-window-list'));
    }
    function fillFavouriteList(list) {
        const titles = text(result(call('vm_favourites_list'))).split('\n');
        titles.pop();
        list.replaceChildren(...titles.map((title, i) => {
            const option = document.createElement('option');
            option.value = String(i);
            option.textContent = title;
            return option;
        }));
    }

    // View
    const BAR_IDS = ['addressbar', 'toolbar', 'statusbar'];
    function applyBars() {
        BAR_IDS.forEach((id, i) => { $(id).hidden = !call('vm_setting', i); });
        tellView();
    }
    function tellView() {
        if (!game || !gameStarted) return;
        // The page's inside without scroll bars; its window counts the sunken edges too.
        const width = scrollBox.clientWidth;
        const height = scrollBox.clientHeight;
        call('vm_set_view', width, height, scrollBox.offsetWidth);
        showPage();
    }

    async function command(name) {
        switch (name) {
            case 'back': return run('vm_back');
            case 'forward': return run('vm_forward');
            case 'home': return run('vm_home');
            case 'search': return run('vm_search');
            case 'favourites-window': {
                const window = $('favourites-window');
                if (window.hidden) fillFavouriteList($('favourites-window-list'));
                window.hidden = !window.hidden;
                return;
            }
            case 'exit':
                call('vm_save');
                location.reload();
                return;
            case 'register-home': return registerHome();
            case 'add-favourite': return addFavourite();
            case 'delete-favourites': return deleteFavourites();
            case 'export-save': {
                const bytes = result(call('vm_save_bytes'));
                downloadFile(SAVE_KEY, bytes);
                return;
            }
            case 'import-save': return $('import-save-file').click();
            case 'open': return $('open-page-file').click();
            case 'print': return printPage();
            default:
                if (name && name.startsWith('toggle-')) {
                    call('vm_toggle_setting', Number(name.slice(7)));
                    call('vm_save');
                    applyBars();
                }
        }
    }

    async function addFavourite() {
        if (!call('vm_can_add_favourite')) return;
        const yes = await modal('favourite-add-dialog', (dialog, finish) => {
            $('favourite-add-yes').onclick = () => finish(true);
            $('favourite-add-no').onclick = () => finish(false);
        });
        if (yes) call('vm_add_favourite');
    }
    async function deleteFavourites() {
        await modal('favourite-delete-dialog', (dialog, finish) => {
            const list = $('favourite-delete-list');
            fillFavouriteList(list);
            $('favourite-delete').disabled = list.options.length === 0;
            $('favourite-delete').onclick = () => {
                const selected = list.selectedIndex;
                if (selected >= 0 && call('vm_delete_favourite', selected)) {
                    fillFavouriteList(list);
                    list.selectedIndex = Math.min(selected, list.options.length - 1);
                    $('favourite-delete').disabled = list.options.length === 0;
                }
            };
            $('favourite-delete-close').onclick = () => finish(false);
        });
    }
    async function registerHome() {
        await modal('home-dialog', (dialog, finish) => {
            const show = () => { $('home-address').value = text(result(call('vm_home_address'))); };
            show();
            $('home-current').onclick = () => { call('vm_home_to_current'); show(); };
            $('home-standard').onclick = () => { call('vm_home_to_standard'); show(); };
            $('home-ok').onclick = () => finish(false);
            setTimeout(() => $('home-address').select(), 0);
        });
        call('vm_save');
    }

    function printPage() {
        // The page as the view shows it: all of it, and at least the view's inside.
        const width = Math.min(Math.max(pageSize.width, scrollBox.clientWidth), MAX_PAGE_WIDTH);
        const height = Math.min(Math.max(pageSize.height, scrollBox.clientHeight), MAX_PAGE_HEIGHT);
        const copy = document.createElement('canvas');
        copy.width = width;
        copy.height = height;
        copy.getContext('2d').drawImage(back, 0, 0, width, height, 0, 0, width, height);
        $('print-page').src = copy.toDataURL('image/png');
        $('print-page').onload = () => window.print();
    }

    function setUpChrome() {
        setUpMenus();
        setUpToolbar();
        setUpLogo();
        const address = $('address');
        address.addEventListener('keydown', (event) => {
            if (event.key === 'Enter' && !event.isComposing) {
                event.preventDefault();
                runWithText('vm_typed_address', Cp932.encodeLoosely(address.value)).then(fillAddressList);
            }
        });
        // A pick from the list opens its page at once.
        address.addEventListener('input', (event) => {
            if (event.inputType === 'insertReplacementText' || event.inputType === undefined) {
                runWithText('vm_picked_address', Cp932.encodeLoosely(address.value));
            }
        });
        address.addEventListener('blur', () => {
            const current = text(result(call('vm_current_address')));
            if (address.value === '') address.value = current;
        });

        let lastMove = 0;
        scrollBox.addEventListener('mousemove', (event) => {
            const at = pagePoint(event);
            if (!at) return;
            const now = performance.now();
            if (now - lastMove < 8) return;
            lastMove = now;
            scrollBox.classList.toggle('on-link', !!call('vm_mouse_move', at.x, at.y));
        });
        page.addEventListener('mousedown', (event) => {
            if (event.button !== 0) return;
            const at = pagePoint(event);
            call('vm_mouse_down', at.x, at.y);
        });
        page.addEventListener('mouseup', (event) => {
            if (event.button !== 0) return;
            const at = pagePoint(event);
            run('vm_mouse_up', ['number', 'number'], [at.x, at.y]);
        });
        scrollBox.addEventListener('scroll', () => {
            toldScroll = {x: scrollBox.scrollLeft, y: scrollBox.scrollTop};
            call('vm_set_scroll', toldScroll.x, toldScroll.y);
        });
        // Also when a scroll bar comes or goes: the game lays pages out for the inside.
        new ResizeObserver(tellView).observe(scrollBox);

        $('favourites-window-list').addEventListener('dblclick', () => {
            const selected = $('favourites-window-list').selectedIndex;
            if (selected >= 0 && !document.querySelector('dialog[open]')) {
                run('vm_open_favourite', ['number'], [selected]);
            }
        });
        $('favourites-window').querySelector('[data-close]').addEventListener('click', () => {
            $('favourites-window').hidden = true;
        });
        dragByCaption($('favourites-window'));

        $('import-save-file').addEventListener('change', async (event) => {
            const file = event.target.files[0];
            event.target.value = '';
            if (!file) return;
            const bytes = new Uint8Array(await file.arrayBuffer());
            await runWithText('vm_load_save', bytes);
            fillAddressList();
            applyBars();
        });
        $('open-page-file').addEventListener('change', (event) => {
            const file = event.target.files[0];
            event.target.value = '';
            if (file) runWithText('vm_open_page', Cp932.encodeLoosely(file.name));
        });

        document.addEventListener('keydown', onKey, true);
        window.addEventListener('pagehide', () => call('vm_save'));
    }

    function dragByCaption(box) {
        const caption = box.querySelector('.caption');
        caption.addEventListener('mousedown', (event) => {
            if (event.target.closest('button')) return;
            const start = {x: event.clientX - box.offsetLeft, y: event.clientY - box.offsetTop};
            const move = (e) => {
                box.style.left = (e.clientX - start.x) + 'px';
                box.style.top = (e.clientY - start.y) + 'px';
            };
            const up = () => {
                document.removeEventListener('mousemove', move);
                document.removeEventListener('mouseup', up);
            };
            document.addEventListener('mousemove', move);
            document.addEventListener('mouseup', up);
        });
    }

    function fillAddressList() {
        const lines = text(result(call('vm_addresses'))).split('\n');
        lines.pop();
        $('address-list').replaceChildren(...lines.map((line) => {
            const option = document.createElement('option');
            option.value = line;
            return option;
        }));
    }

    function pagePoint(event) {
        const box = page.getBoundingClientRect();
        return {x: Math.floor(event.clientX - box.left), y: Math.floor(event.clientY - box.top)};
    }

    // The game's keys, also those the browser would take for itself while the
    // game has the focus: Alt+Left/Right, Ctrl+O, Ctrl+P and F5 (which does nothing).
    const MENU_KEYS = {f: 'file', e: 'edit', v: 'view', a: 'favourites'};
    function onKey(event) {
        if (document.querySelector('dialog[open]') || $('browser').hidden) return;
        const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
        if (event.altKey && !event.ctrlKey && (key === 'ArrowLeft' || key === 'ArrowRight')) {
            event.preventDefault();
            command(key === 'ArrowLeft' ? 'back' : 'forward');
        } else if (event.ctrlKey && !event.altKey && (key === 'o' || key === 'p')) {
            event.preventDefault();
            command(key === 'o' ? 'open' : 'print');
        } else if (key === 'F5') {
            event.preventDefault();
        } else if (event.altKey && MENU_KEYS[key]) {
            event.preventDefault();
            showMenu(document.querySelector(`.menu[data-menu="${MENU_KEYS[key]}"]`));
        } else if (key === 'Escape' && openMenu) {
            closeMenus();
        } else if (openMenu && (key === 'ArrowDown' || key === 'ArrowUp')) {
            // Up and down the open menu's items, round at the ends.
            event.preventDefault();
            const items = Array.from(openMenu.querySelectorAll('.menu-items button'));
            const at = items.indexOf(document.activeElement);
            const next = key === 'ArrowDown' ? at + 1 : at - 1;
            items[(next + items.length) % items.length].focus();
        } else if (openMenu && (key === 'ArrowLeft' || key === 'ArrowRight')) {
            // The menu beside it.
            event.preventDefault();
            const menus = Array.from(document.querySelectorAll('.menu'));
            const at = menus.indexOf(openMenu);
            showMenu(menus[(at + (key === 'ArrowRight' ? 1 : -1) + menus.length) % menus.length]);
        }
    }

    // --- Start -----------------------------------------------------------------------------
    let gameStarted = false;
    function storedSave() {
        try {
            const stored = localStorage.getItem(SAVE_KEY);
            if (stored === null) return new Uint8Array(0);
            return Uint8Array.from(atob(stored), (c) => c.charCodeAt(0));
        } catch (e) {
            return new Uint8Array(0);
        }
    }

    async function startBrowser() {
        $('browser').hidden = false;
        setUpChrome();
        gameStarted = true;
        call('vm_set_view', scrollBox.clientWidth, scrollBox.clientHeight, scrollBox.offsetWidth);
        withBytes(storedSave(), (at, n) => call('vm_start', at, n));
        rebuildFavourites();
        fillAddressList();
        applyBars();
        scrollBox.focus();
    }

    // Once the world is in, a service worker keeps a copy of every file so
    // that the game also starts without the server. Where the browser has
    // none (a file:// page, plain http off localhost), the game plays online.
    function keepForOffline() {
        if (!('serviceWorker' in navigator)) return;
        navigator.serviceWorker.register('sw.js').catch(() => {});
    }

    async function main() {
        game = await createVelmora({shell});
        chrome = JSON.parse(text(result(call('vm_chrome_layout'))));
        // The faces come while the world loads and the title runs: only the
        // browser's pages need them.
        const faces = Promise.all([document.fonts.load('13px IPAGothic', 'あA'),
                                   document.fonts.load('12px IPAPGothic', 'あA')])
            .catch(() => {});  // drawn in a fallback face; the page layout does not depend on it
        await loadWorld();
        keepForOffline();
        await runTitle();
        await faces;
        await startBrowser();
        window.velmora.ready = true;
    }

    // For tests and world makers, from the console.
    window.velmoraDump = () => {
        const dump = text(result(call('vm_dump')));
        console.log(dump);
        return dump;
    };
    window.velmora = {
        ready: false,
        open: (name) => runWithText('vm_open_page', Cp932.encodeLoosely(name)),
        state: () => {
            const lines = text(result(call('vm_page_state'))).split('\n');
            lines.pop();
            return {
                page: lines[0],
                plugin: lines[1] === '1',
                visited: lines.slice(2),
                client: {width: scrollBox.clientWidth, height: scrollBox.clientHeight},
            };
        },
        saveBytes: () => Array.from(result(call('vm_save_bytes'))),
        pagesDrawn: () => pagesDrawn,
        titleFrames: () => titleFrames,
        idle: () => queue,
        // Caps Lock held on (true) or off (false) for the game whatever the
        // browser says (headless ones always say off); null follows the keyboard.
        capsLock: (on) => shell.dialogs.setCapsLock(on),
        scene: () => VelmoraScene.status(),
    };

    main().catch((e) => {
        console.error(e);
        message('ゲームを始められませんでした。ページを読み込み直してください。');
    });
})();
