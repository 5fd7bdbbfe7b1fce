// Everything of the library in one include.
#ifndef LUMORA_LUMORA_H
#define LUMORA_LUMORA_H

#include "lumora/array.h"
#include "lumora/geometry.h"
#include "lumora/signal.h"
#include "lumora/stream.h"
#include "lumora/string.h"
#include "lumora/thread.h"

#ifdef _WIN32
#include "lumora/application.h"
#include "lumora/bitmap.h"
#include "lumora/dialogs.h"
#include "lumora/layer.h"
#include "lumora/native.h"
#include "lumora/process.h"
#include "lumora/scroll_layer.h"
#include "lumora/surface.h"
#include "lumora/widgets.h"
#include "lumora/window.h"
#endif

#endif
