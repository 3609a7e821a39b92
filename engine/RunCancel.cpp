#include "RunCancel.h"

DWORD RunCancel::Wait(HANDLE object, DWORD timeoutMs) const {
    const DWORD now = WaitForSingleObject(object, 0);
    if (now != WAIT_TIMEOUT || timeoutMs == 0) return now;
    Tell(true);
    DWORD waited;
    if (m_event) {
        const HANDLE handles[] = {object, m_event};
        waited = WaitForMultipleObjects(2, handles, FALSE, timeoutMs);
        m_gaveUp = waited == WAIT_OBJECT_0 + 1;
        if (m_gaveUp) waited = kCancelled;
        if (waited == WAIT_ABANDONED_0) waited = WAIT_ABANDONED;
    } else {
        waited = WaitForSingleObject(object, timeoutMs);
    }
    Tell(false);
    return waited;
}
