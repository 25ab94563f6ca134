// The password dialog, the plug-in set-up and Caps Lock as the page sees
// them. The game (src/web/WebDialogs.cpp) opens the dialogs and waits for
// the player's answers; what an answer means is the game's to decide. Texts
// come and go as code page 932 bytes.
'use strict';

const VelmoraDialogs = (() => {
    const $ = (id) => document.getElementById(id);

    // Caps Lock as the last key or mouse event said; the page cannot ask the
    // system. Headless browsers always say off: tests set it with capsLock(on).
    let capsLock = false;
    let capsLockSet = null;
    function trackCapsLock(event) {
        if (event.getModifierState) capsLock = event.getModifierState('CapsLock');
    }
    for (const type of ['keydown', 'keyup', 'mousedown', 'mouseup', 'mousemove', 'wheel']) {
        document.addEventListener(type, trackCapsLock, {capture: true, passive: true});
    }

    // `page` is the shell's: its message box (a promise, kept until answered)
    // and its menus.
    function create(page) {
        const decode = (bytes) => Cp932.decode(bytes);

        // --- The password dialog: it stays open over wrong tries.
        const password = {dialog: $('password-dialog'), input: $('password-input'), text: new Uint8Array(0),
                          answer: null};
        function answerPassword(value) {
            const resolve = password.answer;
            if (!resolve) return;
            password.answer = null;
            if (value === -1) password.dialog.close();
            resolve(value);
        }
        function okPassword() {
            // A character the code page lacks can be in no accepted text.
            const bytes = Cp932.encode(password.input.value);
            password.text = bytes || new Uint8Array(0);
            answerPassword(bytes ? bytes.length : -2);
        }
        $('password-ok').addEventListener('click', okPassword);
        $('password-cancel').addEventListener('click', () => answerPassword(-1));
        password.dialog.addEventListener('cancel', (event) => {
            event.preventDefault();
            answerPassword(-1);
        });
        // However it closed, a game waiting on it hears a cancel; the event
        // comes late, when the dialog may already be open again.
        password.dialog.addEventListener('close', () => {
            if (!password.dialog.open) answerPassword(-1);
        });
        // Enter is OK, except on a button, which presses that button; never
        // while the input method composes.
        password.dialog.addEventListener('keydown', (event) => {
            if (event.key === 'Enter' && !event.isComposing && event.target === password.input) {
                event.preventDefault();
                okPassword();
            }
        });

        // --- The plug-in set-up: once OK is pressed it runs to the end.
        const plugin = {dialog: $('plugin-dialog'), running: false, answer: null};
        function answerPlugin(ok) {
            const resolve = plugin.answer;
            if (!resolve) return;
            plugin.answer = null;
            if (ok) {
                plugin.running = true;
                $('plugin-ok').disabled = true;
                $('plugin-cancel').disabled = true;
            } else {
                plugin.dialog.close();
            }
            resolve(ok);
        }
        $('plugin-ok').addEventListener('click', () => answerPlugin(true));
        $('plugin-cancel').addEventListener('click', () => answerPlugin(false));
        plugin.dialog.addEventListener('cancel', (event) => {
            event.preventDefault();
            if (!plugin.running) answerPlugin(false);
        });
        plugin.dialog.addEventListener('close', () => {
            if (!plugin.dialog.open) answerPlugin(false);
        });
        // The browser closes a dialog on a second Escape even when its cancel
        // event is refused; a refused key closes nothing. The disabled buttons
        // leave the focus outside the dialog, hence the whole document.
        document.addEventListener('keydown', (event) => {
            if (event.key === 'Escape' && plugin.running) event.preventDefault();
        }, true);

        return {
            // The player's next OK: the text's length (the bytes by
            // passwordText), -2 for a text the code page cannot hold, -1 for
            // cancel, which closes the dialog.
            passwordAnswer() {
                return new Promise((resolve) => {
                    password.answer = resolve;
                    if (!password.dialog.open) {
                        page.closeMenus();
                        password.input.value = '';
                        password.dialog.showModal();
                    }
                    // Back in the field, all of its text selected, as after every message.
                    password.input.focus();
                    password.input.select();
                });
            },
            passwordText: () => password.text,
            closePassword() {
                password.answer = null;
                password.dialog.close();
            },

            // True for OK, false for cancel (the dialog then closes).
            openPlugin(readyText) {
                return new Promise((resolve) => {
                    plugin.answer = resolve;
                    plugin.running = false;
                    $('plugin-status').textContent = decode(readyText);
                    $('plugin-progress').value = 0;
                    $('plugin-ok').disabled = false;
                    $('plugin-cancel').disabled = false;
                    page.closeMenus();
                    plugin.dialog.showModal();
                    $('plugin-ok').focus();
                });
            },
            pluginStatus(bytes) {
                $('plugin-status').textContent = decode(bytes);
            },
            pluginProgress(position) {
                $('plugin-progress').value = position;
            },
            closePlugin() {
                plugin.running = false;
                plugin.dialog.close();
            },

            message: (bytes) => page.message(decode(bytes)),
            capsLockOn: () => (capsLockSet !== null ? capsLockSet : capsLock),
            // For tests: Caps Lock held on or off whatever the events say;
            // null follows them again.
            setCapsLock(on) {
                capsLockSet = on === null ? null : !!on;
            },
        };
    }

    return {create};
})();
