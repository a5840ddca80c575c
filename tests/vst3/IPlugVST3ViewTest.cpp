// SPDX-License-Identifier: GPL-3.0-or-later
// The editor view while the plug-in has no editor: views are made only for "editor", answer
// false wherever they would need the editor, and keep the plug-in alive until released.
#include "Vst3TestHost.h"

#include "pluginterfaces/gui/iplugview.h"

using namespace Steinberg;

namespace
{
class RecordingFrame : public IPlugFrame
{
public:
    tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) SMTG_OVERRIDE
    {
        ++resizeRequests;
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) SMTG_OVERRIDE
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }
    int resizeRequests = 0;
};
} // namespace

TEST(IPlugVST3View, IsMadeOnlyForTheEditorName)
{
    TestPlugin plug;
    EXPECT_EQ(plug.controller()->createView("Editor"), nullptr);
    EXPECT_EQ(plug.controller()->createView("editorx"), nullptr);
    EXPECT_EQ(plug.controller()->createView(nullptr), nullptr);
    IPlugView* view = plug.controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->release(), 0u) << "the host holds the only reference";
}

TEST(IPlugVST3View, AnswersFalseWithoutAnEditorAndTakesTheHostsSizes)
{
    TestPlugin plug;
    IPlugView* view = plug.controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    for (FIDString type : {kPlatformTypeHWND, kPlatformTypeX11EmbedWindowID, "bogus"})
        EXPECT_EQ(view->isPlatformTypeSupported(type), kResultFalse) << type;
    int parent = 0;
    EXPECT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultFalse);
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultFalse);
    EXPECT_EQ(view->onSize(nullptr), kResultOk);
    ViewRect hostSize(0, 0, 300, 200);
    EXPECT_EQ(view->onSize(&hostSize), kResultOk);
    RecordingFrame frame;
    EXPECT_EQ(view->setFrame(&frame), kResultOk);
    EXPECT_EQ(view->canResize(), kResultFalse);
    EXPECT_EQ(view->checkSizeConstraint(&hostSize), kResultFalse);
    EXPECT_EQ(view->onWheel(1.0f), kResultFalse);
    EXPECT_EQ(view->onKeyDown(u'a', 0, 0), kResultFalse);
    EXPECT_EQ(view->onKeyUp(u'a', 0, 0), kResultFalse);
    EXPECT_EQ(view->onFocus(true), kResultFalse);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(frame.resizeRequests, 0);
    view->setFrame(nullptr);
    view->release();
}

TEST(IPlugVST3View, ViewsKeepThePluginAliveInAnyReleaseOrder)
{
    auto plug = std::make_unique<TestPlugin>();
    IPlugView* first = plug->controller()->createView("editor");
    IPlugView* second = plug->controller()->createView("editor");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    second->release();
    plug.reset(); // terminates and drops the host's references to the plug-in
    EXPECT_EQ(first->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse) << "the plug-in is still alive";
    EXPECT_EQ(first->release(), 0u);
}
