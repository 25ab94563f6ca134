// Each call hands its arguments to the page's shell object (web/brivane.js),
// as raw numbers and views of the module's memory.

#include "JsBridge.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, js_fill_rect, (int x, int y, int width, int height, uint32_t colour), {
    Module.shell.fillRect(x, y, width, height, colour >>> 0);
});
EM_JS(void, js_draw_edge, (int x, int y, int width, int height, int style), {
    Module.shell.drawEdge(x, y, width, height, style);
});
EM_JS(void, js_draw_characters, (const char* text, size_t length, const int* xs, size_t count, int y,
                                 int emPixels, int ascent, int bold, int underline,
                                 uint32_t colour, int opaque, int cellWidth, int cellHeight), {
    Module.shell.drawCharacters(HEAPU8.slice(text, text + length), HEAP32.slice(xs >> 2, (xs >> 2) + count),
                                y, emPixels, ascent, bold, underline, colour >>> 0, opaque,
                                cellWidth, cellHeight);
});
EM_JS(void, js_draw_picture, (int mode, int x, int y, int width, int height, const uint8_t* rgba,
                              int pictureWidth, int pictureHeight, uint32_t key), {
    Module.shell.drawPicture(mode, x, y, width, height,
                             HEAPU8.subarray(rgba, rgba + pictureWidth * pictureHeight * 4),
                             pictureWidth, pictureHeight, key >>> 0);
});
EM_JS(void, js_clip, (int x, int y, int width, int height), {
    Module.shell.clip(x, y, width, height);
});
EM_JS(void, js_unclip, (), { Module.shell.unclip(); });
EM_JS(void, js_page_painted, (int width, int height), { Module.shell.pagePainted(width, height); });
EM_JS(void, js_scroll_to_top, (), { Module.shell.scrollToTop(); });
EM_JS(void, js_link_repainted, (), { Module.shell.linkRepainted(); });

EM_JS(void, js_title_frame, (const uint8_t* rgba, int width, int height), {
    Module.shell.titleFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});

EM_JS(void, js_set_status, (const char* text, size_t length), {
    Module.shell.setStatus(HEAPU8.slice(text, text + length));
});
EM_JS(void, js_set_title, (const char* text, size_t length), {
    Module.shell.setTitle(HEAPU8.slice(text, text + length));
});
EM_JS(void, js_show_address, (const char* text, size_t length), {
    Module.shell.showAddress(HEAPU8.slice(text, text + length));
});
EM_JS(void, js_history_changed, (int canGoBack, int canGoForward), {
    Module.shell.historyChanged(!!canGoBack, !!canGoForward);
});
EM_JS(void, js_progress, (int what, int a, int b), { Module.shell.progress(what, a, b); });
EM_JS(void, js_play_sound, (const char* name, size_t length), {
    Module.shell.playPageSound(HEAPU8.slice(name, name + length));
});
EM_JS(int, js_save_game, (const uint8_t* bytes, size_t length), {
    return Module.shell.saveGame(HEAPU8.slice(bytes, bytes + length)) ? 1 : 0;
});
EM_JS(void, js_show_message, (const char* text, size_t length, const char* caption,
                              size_t captionLength), {
    Module.shell.showMessage(HEAPU8.slice(text, text + length),
                             HEAPU8.slice(caption, caption + captionLength));
});
EM_JS(void, js_save_file, (const char* name, size_t nameLength, const uint8_t* bytes,
                           size_t byteCount), {
    Module.shell.saveFile(HEAPU8.slice(name, name + nameLength),
                          HEAPU8.slice(bytes, bytes + byteCount));
});
EM_JS(void, js_favourites_changed, (), { Module.shell.favouritesChanged(); });

EM_JS(void, js_control_create, (int id, int kind, int x, int y, int width, int height,
                                const char* text, size_t length), {
    Module.shell.createControl(id, kind, x, y, width, height, HEAPU8.slice(text, text + length));
});
EM_JS(void, js_control_move, (int id, int x, int y, int width, int height), {
    Module.shell.moveControl(id, x, y, width, height);
});
EM_JS(void, js_control_show, (int id, int shown), { Module.shell.showControl(id, !!shown); });
EM_JS(void, js_control_set_text, (int id, const char* text, size_t length), {
    Module.shell.setControlText(id, HEAPU8.slice(text, text + length));
});
EM_JS(int, js_control_text, (int id, char* buffer, int capacity), {
    const bytes = Module.shell.controlText(id);
    HEAPU8.set(bytes.subarray(0, Math.min(bytes.length, capacity)), buffer);
    return bytes.length;
});
EM_JS(void, js_control_destroy, (int id), { Module.shell.destroyControl(id); });

EM_ASYNC_JS(int, js_offer_download_async, (const char* name, size_t nameLength), {
    return await Module.shell.offerDownload(HEAPU8.slice(name, name + nameLength)) ? 1 : 0;
});
// clang-format on

// Callers elsewhere see an ordinary function: the script function that waits
// is known by its import name only here.
bool js_offer_download(const char* name, size_t nameLength) {
    return js_offer_download_async(name, nameLength) != 0;
}
