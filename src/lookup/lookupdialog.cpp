// The frame contract is all declarations; this unit gives it its meta-object.
#include "lookupdialog.h"

namespace lookup {

} // namespace lookup
