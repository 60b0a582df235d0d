#pragma once
// The root classes of the class library: TObject (class name and ancestry from the
// C++ run-time type information, worked out once per class), TPersistent and
// TComponent (ownership).
#include "classlib/base/Exceptions.h"
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The most derived class's name, "TButton", "TfMain".
    [[nodiscard]] const std::string& ClassName() const;
    // True when this object's class or one of its ancestors has that exact name.
    [[nodiscard]] bool InheritsFrom(const std::string& className) const;
    template <class T> [[nodiscard]] bool InheritsFrom() const {
        return dynamic_cast<const T*>(this) != nullptr;
    }
};

// The class chain of a type, the type itself first, then its bases depth first.
const std::vector<const std::type_info*>& ClassChain(const std::type_info& type);
// The bare name of a class ("TButton"); any thread.
const std::string& ClassNameOf(const std::type_info& type);

// Fired on the thread that changed the sender (the main thread for controls).
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies source into this object; the default raises EConvertError
    // "Cannot assign a X to a Y".
    virtual void Assign(const TPersistent& source);
};

// A component is freed by its owner; one freed earlier unlinks itself from it.
// Owned components are freed last created first.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    [[nodiscard]] TComponent* Owner() const { return FOwner; }
    [[nodiscard]] int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    [[nodiscard]] TComponent* Components(int index) const { return FComponents.at(index); }
    [[nodiscard]] TComponent* FindComponent(const std::string& name) const; // case-insensitive

    [[nodiscard]] const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }
    [[nodiscard]] int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    [[nodiscard]] bool Destroying() const { return FDestroying; }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Called once whoever built the component from a description has set all its
    // properties; a component made in code and set up by its caller is not called.
    virtual void Loaded() {}

protected:
    // Frees the owned components now; a descendant that must outlive them calls it first.
    void DestroyComponents();
    // Destroying() holds from here on, for this component and the ones it owns. A
    // destructor that still sends messages (a control ending its windows) calls it
    // first, as C++ runs this class's destructor last.
    void BeginDestroy();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::string FName;
    int FTag = 0;
    bool FDestroying = false;
};
