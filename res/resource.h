#pragma once

// String ids of the framework's own range.
#define IDS_APP_TITLE 57344
