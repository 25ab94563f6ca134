#pragma once

#include <cstddef>
#include <cstdint>

// The calls the game makes on its web page. Each is a few lines of script
// (JsBridge.cpp) that hand the call to the page's shell object, which owns
// the canvases and the HTML chrome. Texts go across as code page 932 bytes;
// the page decodes them.
extern "C" {
// The page canvas.
void js_fill_rect(int x, int y, int width, int height, uint32_t colour);
void js_draw_edge(int x, int y, int width, int height, int style);
void js_draw_characters(const char* text, size_t length, const int* xs, size_t count, int y,
                        int emPixels, int ascent, int bold, int underline, uint32_t colour,
                        int opaque, int cellWidth, int cellHeight);
// RGBA pixels, top row first; mode 0 copies, 1 stretches into the area,
// 2 leaves out `key` (a colour, red in the low byte).
void js_draw_picture(int mode, int x, int y, int width, int height, const uint8_t* rgba,
                     int pictureWidth, int pictureHeight, uint32_t key);
// Drawing stays inside the rectangle until the clip is lifted.
void js_clip(int x, int y, int width, int height);
void js_unclip();
void js_page_painted(int width, int height);
void js_scroll_to_top();
void js_link_repainted();

// The title screen's picture, 640 x 480 RGBA pixels.
void js_title_frame(const uint8_t* rgba, int width, int height);

// The chrome.
void js_set_status(const char* text, size_t length);
void js_set_title(const char* text, size_t length);
void js_show_address(const char* text, size_t length);
void js_history_changed(int canGoBack, int canGoForward);
void js_progress(int what, int a, int b);
void js_play_sound(const char* name, size_t length);
// Keeps the save file's bytes in the browser's storage; false when it refused.
int js_save_game(const uint8_t* bytes, size_t length);
// A message box; with an empty caption it has the program's.
void js_show_message(const char* text, size_t length, const char* caption, size_t captionLength);
// The browser saves a file under the name, as a download.
void js_save_file(const char* name, size_t nameLength, const uint8_t* bytes, size_t byteCount);
void js_favourites_changed();

// Form controls, numbered by the game.
void js_control_create(int id, int kind, int x, int y, int width, int height, const char* text,
                       size_t length);
void js_control_move(int id, int x, int y, int width, int height);
void js_control_show(int id, int shown);
void js_control_set_text(int id, const char* text, size_t length);
// Writes at most `capacity` bytes of the control's text (code page 932) into
// `buffer`; gives the text's whole length.
int js_control_text(int id, char* buffer, int capacity);
void js_control_destroy(int id);

// The download dialog; returns when the player has answered: true for OK.
bool js_offer_download(const char* name, size_t nameLength);
}
