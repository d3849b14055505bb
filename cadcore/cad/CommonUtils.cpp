// The one piece of state of the toolbox: the point tolerance.
#include "CommonUtils.h"

double CCommonUtils::m_dTol = 0.1;
