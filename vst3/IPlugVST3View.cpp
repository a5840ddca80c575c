// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugVST3View.h"

#include "IPlugVST3.h"

#include <cstring>

using namespace Steinberg;

// The SDK subset defines the interface ids of the VST interfaces but not that of IPlugView.
namespace Steinberg
{
DEF_CLASS_IID(IPlugView)
}

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug)
{
    mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
    mPlug->ClearViews();
    mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
    if (mPlug->GetGUI() == nullptr || type == nullptr)
        return kResultFalse;
    return std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultOk : kResultFalse;
}

// The editor's native window belongs to the Windows editor; on other platforms no window
// type is supported, so only the open and close hooks run.
tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString)
{
    if (mPlug->GetGUI() == nullptr)
        return kResultFalse;
    systemWindow = parent;
    mPlug->EditorOpened();
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed()
{
    if (mPlug->GetGUI() != nullptr)
        mPlug->EditorClosed();
    systemWindow = nullptr;
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
    if (mPlug->GetGUI() == nullptr || size == nullptr)
        return kResultFalse;
    *size = rect;
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
    if (newSize == nullptr)
        return kResultOk;
    rect = *newSize;
    if (mResizeRequested)
    {
        mPlug->EditorResized();
        mResizeRequested = false;
    }
    return kResultOk;
}

void IPlugVST3View::RequestResize(int width, int height)
{
    if (plugFrame == nullptr)
        return;
    mResizeRequested = true;
    ViewRect r(0, 0, width, height);
    plugFrame->resizeView(this, &r);
}
