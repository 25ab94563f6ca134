#pragma once

#include <string>

// The caption of every message box: the application title.
void SetMessageCaption(const std::string& cp932Caption);

// Routes ShowMessage to modal message boxes with an OK button.
void UseMessageBoxes();
