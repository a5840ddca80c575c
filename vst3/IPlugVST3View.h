// SPDX-License-Identifier: GPL-3.0-or-later
// The host's view of the plug-in's editor. A thin adapter: the editor lives as long as the
// effect; the view only reports its size, opens and closes its window in the host's parent
// window and carries resize requests between the plug-in and the host's frame. Every call
// that needs the editor answers false while the plug-in has none. All calls come from the
// host's user-interface thread.
#pragma once

#include "public.sdk/source/common/pluginview.h"

class IPlugVST3;

class IPlugVST3View : public Steinberg::CPluginView
{
public:
    // Holds one reference to the plug-in for the view's life.
    explicit IPlugVST3View(IPlugVST3* plug);
    // Empties the plug-in's whole views list, then releases the plug-in.
    ~IPlugVST3View() override;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API onWheel(float) SMTG_OVERRIDE { return Steinberg::kResultFalse; }
    Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16, Steinberg::int16, Steinberg::int16) SMTG_OVERRIDE
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16, Steinberg::int16, Steinberg::int16) SMTG_OVERRIDE
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool) SMTG_OVERRIDE { return Steinberg::kResultFalse; }
    Steinberg::tresult PLUGIN_API canResize() SMTG_OVERRIDE { return Steinberg::kResultFalse; }
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect*) SMTG_OVERRIDE
    {
        return Steinberg::kResultFalse;
    }

    // The plug-in asks the host to resize the view to (0, 0, width, height); the host's onSize
    // completes it. Nothing happens while the host has set no frame.
    void RequestResize(int width, int height);
    bool ResizeRequested() const { return mResizeRequested; }

    OBJ_METHODS(IPlugVST3View, CPluginView)

private:
    IPlugVST3* mPlug;
    bool mResizeRequested = false;
};
