#include "lock/lock.h"

namespace zorva {

TLock::TLock() : LeftArrivals("LeftArrivals"), RightArrivals("RightArrivals"), LockQueue("Lock") {}

}  // namespace zorva
