// The shared CAD library's resources: the graphics preview's cursors.
#include "GsPreviewCtrl.h"
#include "resourcetable.h"

namespace {

const win::ResourceTable kCadcoreResources{
    {},
    {},
    {win::ImageResource{IDC_PREVIEW_DEFAULT, IMAGE_CURSOR, nullptr, 0, 32, 32, PreviewCursorPixels(IDC_PREVIEW_DEFAULT)},
     win::ImageResource{IDC_PREVIEW_ORBIT, IMAGE_CURSOR, nullptr, 0, 32, 32, PreviewCursorPixels(IDC_PREVIEW_ORBIT)},
     win::ImageResource{IDC_PREVIEW_PAN, IMAGE_CURSOR, nullptr, 0, 32, 32, PreviewCursorPixels(IDC_PREVIEW_PAN)}}};

}  // namespace

AFX_EXT_API HINSTANCE CadcoreResourceInstance() { return kCadcoreResources.Instance(); }
