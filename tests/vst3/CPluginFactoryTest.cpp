// SPDX-License-Identifier: GPL-3.0-or-later
// The module as a host first meets it: exported entry points, the factory and its one class.
#include "Vst3TestHost.h"

#include <cstring>

using namespace Steinberg;

TEST(CPluginFactory, DescribesTheOneParvelClass)
{
    IPluginFactory* factory = TheModule().factory();
    PFactoryInfo f{};
    ASSERT_EQ(factory->getFactoryInfo(&f), kResultOk);
    EXPECT_STREQ(f.vendor, "wexo");
    EXPECT_EQ(f.flags, PFactoryInfo::kUnicode);
    ASSERT_EQ(factory->countClasses(), 1);

    FUnknownPtr<IPluginFactory2> factory2(factory);
    ASSERT_TRUE(factory2);
    PClassInfo2 c{};
    ASSERT_EQ(factory2->getClassInfo2(0, &c), kResultOk);
    const unsigned char expectedId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                          0x57, 0x65, 0x78, 0x6F, 0x50, 0x61, 0x72, 0x76};
    EXPECT_EQ(std::memcmp(c.cid, expectedId, 16), 0) << "class id bytes";
    EXPECT_EQ(c.cardinality, PClassInfo::kManyInstances);
    EXPECT_STREQ(c.category, "Audio Module Class");
    EXPECT_STREQ(c.name, "Parvel");
    EXPECT_EQ(c.classFlags, 2u);
    EXPECT_STREQ(c.subCategories, "Fx|EQ");
    EXPECT_STREQ(c.vendor, "");
    EXPECT_STREQ(c.version, "1.5.5");
    EXPECT_STREQ(c.sdkVersion, "VST 3.6.6");

    // The wide-character query converts the same entry.
    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    PClassInfoW w{};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &w), kResultOk);
    EXPECT_EQ(std::memcmp(w.cid, expectedId, 16), 0);
    EXPECT_EQ(w.name[0], u'P');
    EXPECT_EQ(w.version[4], u'5');

    PClassInfo none{};
    EXPECT_NE(factory->getClassInfo(1, &none), kResultOk);
    EXPECT_NE(factory->getClassInfo(-1, &none), kResultOk);
}

TEST(CPluginFactory, SecondGetPluginFactoryAddsAReferenceToTheSameFactory)
{
    auto getFactory = reinterpret_cast<GetFactoryProc>(TheModule().symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    IPluginFactory* again = getFactory();
    EXPECT_EQ(again, TheModule().factory());
    // One reference for the module loader, one for this call: adding and dropping one more leaves 2.
    again->addRef();
    EXPECT_EQ(again->release(), 2u);
    again->release();
    for (const char* entry : {"InitDll", "ExitDll", "ModuleEntry", "ModuleExit"})
        EXPECT_NE(TheModule().symbol(entry), nullptr) << entry << " is exported";
    EXPECT_EQ(TheModule().symbol("_ZN9IPlugVST3D0Ev"), nullptr) << "the module exports only its entry points";
}

TEST(CPluginFactory, CreatesInstancesOnlyOfItsClassAndWithKnownInterfaces)
{
    IPluginFactory* factory = TheModule().factory();
    PClassInfo c{};
    ASSERT_EQ(factory->getClassInfo(0, &c), kResultOk);
    void* obj = &c;
    TUID unknownClass = {1, 2, 3};
    EXPECT_NE(factory->createInstance(unknownClass, Vst::IComponent::iid, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);

    TUID unknownInterface = {9, 9, 9};
    obj = &c;
    EXPECT_NE(factory->createInstance(c.cid, unknownInterface, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);

    // Every interface of the single-component effect is reachable from the one object.
    ASSERT_EQ(factory->createInstance(c.cid, Vst::IAudioProcessor::iid, &obj), kResultOk);
    auto* processor = static_cast<Vst::IAudioProcessor*>(obj);
    for (const FUID* iid : {&Vst::IComponent::iid, &Vst::IEditController::iid, &Vst::IEditController2::iid,
                            &Vst::IConnectionPoint::iid, &IPluginBase::iid})
    {
        void* other = nullptr;
        EXPECT_EQ(processor->queryInterface(*iid, &other), kResultOk);
        if (other != nullptr)
            static_cast<FUnknown*>(other)->release();
    }
    processor->release();
}
