#include "RunCancel.h"

DWORD RunCancel::Wait(HANDLE object, DWORD timeoutMs) const {
    const DWORD now = WaitForSingleObject(object, 0);
    if (now != WAIT_TIMEOUT || timeoutMs == 0) return now;
    Tell(true);
    const HANDLE handles[] = {object, m_event};
    const DWORD waited = WaitForMultipleObjects(m_event ? 2 : 1, handles, FALSE, timeoutMs);
    m_gaveUp = m_event && waited == WAIT_OBJECT_0 + 1;
    Tell(false);
    return m_gaveUp ? kCancelled : waited;
}
