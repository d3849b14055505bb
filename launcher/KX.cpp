// The one application object of the launcher.
#include "KX.h"

CKXApp theApp;
