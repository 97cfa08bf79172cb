// KVOObjects17.dbx: registers the survey point classes when the host loads the library and
// removes them when it unloads it.
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "host/rx/AcRxModule.h"

ACRX_DEFINE_MODULE_CONTRACT()

ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void*)
{
    if (msg == AcRx::kInitAppMsg) {
        KvoDbPointObj::desc()->setCustom(true);
        KvoDbMeasurePointObj::desc()->setCustom(true);
    } else if (msg == AcRx::kUnloadAppMsg) {
        deleteAcRxClass(KvoDbMeasurePointObj::desc());
        deleteAcRxClass(KvoDbPointObj::desc());
    }
    return AcRx::kRetOK;
}
