// The fakes are header-only; this unit keeps their vtables in one place.
#include "tests/classifier/mocks/FakeServices.h"
