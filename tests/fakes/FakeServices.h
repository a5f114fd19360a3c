#pragma once
// Message boxes, the folder dialog, the version query, COM and the common controls.
#include <cstdint>
#include <string>
#include <vector>

#include "fakes/Journal.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/ComObjects.h"
#include "platform/CommonControls.h"
#include "platform/VersionQuery.h"

namespace orvanta {

class FakeMessageBoxes : public MessageBoxes {
public:
    explicit FakeMessageBoxes(Journal& journal) : journal_(journal) {}
    void show(const Message& message) override {
        journal_.add("message " + message.title + " " + std::to_string(static_cast<int>(message.style)) + " " +
                     message.text);
    }

private:
    Journal& journal_;
};

class FakeFolderDialog : public FolderDialog {
public:
    explicit FakeFolderDialog(Journal& journal) : journal_(journal) {}
    // The next dialog confirms this path, handed back in a 260-character buffer.
    void choose(const std::string& path) { next = {true, path + std::string(260 - path.size(), '\0')}; }
    FolderChoice browse(const std::string& title) override {
        journal_.add("browse " + title);
        return next;
    }
    FolderChoice next; // cancelled unless told otherwise

private:
    Journal& journal_;
};

class FakeVersionQuery : public VersionQuery {
public:
    explicit FakeVersionQuery(Journal& journal) : journal_(journal) {}
    std::uint32_t majorVersion() override {
        journal_.add("version");
        return major;
    }
    std::uint32_t major = 6;

private:
    Journal& journal_;
};

class FakeComObjects : public ComObjects {
public:
    explicit FakeComObjects(Journal& journal) : journal_(journal) {}
    ComPointer createInstance(const std::string& classId, const std::string& interfaceId) override;
    std::int32_t callSlot(ComPointer object, std::uint32_t slot,
                          const std::vector<std::int32_t>& arguments) override;

    ComPointer instance = 0x5000;   // 0: the object or the interface isn't there
    std::int32_t hrInitResult = 0;  // what slot 3 (HrInit) answers

private:
    Journal& journal_;
};

class FakeCommonControls : public CommonControls {
public:
    explicit FakeCommonControls(Journal& journal) : journal_(journal) {}
    void initialize() override { journal_.add("init common controls"); }

private:
    Journal& journal_;
};

} // namespace orvanta
