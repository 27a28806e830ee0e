#pragma once
// The reader the program binds into its dialog.

#include "app/analyser_reader.h"
#include "app/header_reader.h"
#include "app/language.h"
#include "app/threaded_reader.h"

namespace quarnel {

// Reads MPEG files into the header on a worker thread of `ui`, showing the progress of long
// scans in `language`.
HeaderReader program_header_reader(Language language, UiThread& ui);

}  // namespace quarnel
