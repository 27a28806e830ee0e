#pragma once
// The reader the program binds into its dialog.

#include "app/header_reader.h"
#include "app/language.h"

namespace quarnel {

// Reads MPEG files into the header, showing the progress of long scans in `language`.
HeaderReader program_header_reader(Language language);

}  // namespace quarnel
