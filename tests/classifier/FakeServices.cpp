// The fakes are header-only; this unit keeps their vtables in one place.
#include "FakeServices.h"
