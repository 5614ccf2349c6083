// The program's icon in its resources; the form's class uses it when the running program carries it.
#pragma once

#define MORAVANE_ICON 1
