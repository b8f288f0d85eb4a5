// Everything a dialog class or the program object includes.
#pragma once

#include "app/toolkit/cdialog.h"
#include "app/toolkit/cfiledialog.h"
#include "app/toolkit/clistbox.h"
#include "app/toolkit/cstring.h"
#include "app/toolkit/cwinapp.h"
#include "app/toolkit/cwnd.h"
#include "app/toolkit/message_map.h"
#include "app/toolkit/win_types.h"
