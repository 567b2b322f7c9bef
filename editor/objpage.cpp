#include "pagesupport.h"

// The page's own controls are not built yet; its ID list, navigation and
// store steps work through TRecordPage.
void AttachObjPage(TMainForm&) {}
