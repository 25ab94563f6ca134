// The game's text is code page 932 bytes. The browser decodes them itself
// (its "shift_jis" decoder is that code page); the way back is a table made
// once from the decoder.
'use strict';

const Cp932 = (() => {
    const decoder = new TextDecoder('shift_jis');
    let table = null;

    function buildTable() {
        table = new Map();
        const one = new Uint8Array(1);
        for (let b = 0; b < 0x100; b++) {
            if ((b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc)) continue;
            one[0] = b;
            const c = decoder.decode(one);
            if (c.length === 1 && c !== '\ufffd' && !table.has(c)) table.set(c, [b]);
        }
        const two = new Uint8Array(2);
        for (let lead = 0x81; lead <= 0xfc; lead++) {
            if (lead > 0x9f && lead < 0xe0) continue;
            for (let trail = 0x40; trail <= 0xfc; trail++) {
                if (trail === 0x7f) continue;
                two[0] = lead;
                two[1] = trail;
                const c = decoder.decode(two);
                // The first code of a character wins, as the system's converter does.
                if (c.length === 1 && c !== '\ufffd' && !table.has(c)) table.set(c, [lead, trail]);
            }
        }
    }

    return {
        decode(bytes) {
            return decoder.decode(bytes);
        },
        // Null when the text holds a character the code page lacks.
        encode(text) {
            if (table === null) buildTable();
            const out = [];
            for (const c of text) {
                const bytes = table.get(c);
                if (bytes === undefined) return null;
                out.push(...bytes);
            }
            return new Uint8Array(out);
        },
        // As encode, with "?" for what the code page lacks, as the system's
        // converter does for a typed text.
        encodeLoosely(text) {
            if (table === null) buildTable();
            const out = [];
            for (const c of text) out.push(...(table.get(c) || [0x3f]));
            return new Uint8Array(out);
        },
    };
})();
