#include "HeaderObjectLayout.h"

#include "Misc/OutputDevice.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>

namespace UE::Host::Private
{
	namespace
	{
		struct FLayoutState
		{
			std::unordered_map<const UClass*, UObject* (*)(void*)> Placements;
			std::unordered_map<const UClass*, std::unique_ptr<FExtendedLayout>> Layouts;
			// The native classes' own layouts (no extra members); they live as long as the code.
			std::unordered_map<const UClass*, std::unique_ptr<FExtendedLayout>> NativeLayouts;
			// Objects made with a layout, and which: they are released the same way.
			std::unordered_map<const UObject*, const FExtendedLayout*> Objects;
		};

		FLayoutState& State()
		{
			// Never destroyed: objects may be released during static destruction.
			static FLayoutState* Instance = new FLayoutState();
			return *Instance;
		}

		// Import problems of an initializer are not the user's: the value just stays zero.
		class FDiscardOutput final : public FOutputDevice
		{
		public:
			virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override {}
		};

		int32 AlignUp(int32 Value, int32 Alignment)
		{
			return (Value + Alignment - 1) / Alignment * Alignment;
		}

		// A TArray of a struct known only at run time; it fits in the storage of any TArray.
		struct FRawStructArray
		{
			uint8* Data = nullptr;
			int32 Num = 0;
			int32 Max = 0;
		};
		static_assert(sizeof(FRawStructArray) <= sizeof(TArray<uint8>), "A raw array must fit where a TArray goes");

		int32 ElementAlignment(const UScriptStruct* Struct)
		{
			return FMath::Max(Struct->GetMinAlignment(), static_cast<int32>(alignof(std::max_align_t)));
		}

		uint8* Element(const FRawStructArray& Array, const UScriptStruct* Struct, int32 Index)
		{
			return Array.Data + static_cast<size_t>(Index) * static_cast<size_t>(Struct->GetStructureSize());
		}

		// Elements may point into themselves (short strings), so they move by copy, never by bytes.
		void Reserve(FRawStructArray& Array, const UScriptStruct* Struct, int32 NewMax)
		{
			if (NewMax <= Array.Max)
			{
				return;
			}
			const size_t Size = static_cast<size_t>(FMath::Max(Struct->GetStructureSize(), 1));
			uint8* NewData = static_cast<uint8*>(::operator new(Size * static_cast<size_t>(NewMax), std::align_val_t(static_cast<size_t>(ElementAlignment(Struct)))));
			for (int32 Index = 0; Index < Array.Num; ++Index)
			{
				uint8* Dest = NewData + static_cast<size_t>(Index) * Size;
				Struct->InitializeStruct(Dest);
				Struct->CopyScriptStruct(Dest, Element(Array, Struct, Index));
				Struct->DestroyStruct(Element(Array, Struct, Index));
			}
			if (Array.Data)
			{
				::operator delete(Array.Data, std::align_val_t(static_cast<size_t>(ElementAlignment(Struct))));
			}
			Array.Data = NewData;
			Array.Max = NewMax;
		}

		void Resize(FRawStructArray& Array, const UScriptStruct* Struct, int32 NewNum)
		{
			NewNum = FMath::Max(NewNum, 0);
			if (NewNum > Array.Max)
			{
				Reserve(Array, Struct, FMath::Max(NewNum, Array.Max * 2));
			}
			for (int32 Index = Array.Num; Index < NewNum; ++Index)
			{
				Struct->InitializeStruct(Element(Array, Struct, Index));
			}
			for (int32 Index = NewNum; Index < Array.Num; ++Index)
			{
				Struct->DestroyStruct(Element(Array, Struct, Index));
			}
			Array.Num = NewNum;
		}

		void InsertDefaulted(FRawStructArray& Array, const UScriptStruct* Struct, int32 At, int32 Count)
		{
			const int32 OldNum = Array.Num;
			At = FMath::Clamp(At, 0, OldNum);
			Resize(Array, Struct, OldNum + Count);
			for (int32 Index = OldNum - 1; Index >= At; --Index)
			{
				Struct->CopyScriptStruct(Element(Array, Struct, Index + Count), Element(Array, Struct, Index));
			}
			for (int32 Index = At; Index < At + Count && Index < OldNum; ++Index)
			{
				Struct->DestroyStruct(Element(Array, Struct, Index));
				Struct->InitializeStruct(Element(Array, Struct, Index));
			}
		}

		void Remove(FRawStructArray& Array, const UScriptStruct* Struct, int32 At, int32 Count)
		{
			if (At < 0 || Count <= 0 || At >= Array.Num)
			{
				return;
			}
			Count = FMath::Min(Count, Array.Num - At);
			for (int32 Index = At; Index + Count < Array.Num; ++Index)
			{
				Struct->CopyScriptStruct(Element(Array, Struct, Index), Element(Array, Struct, Index + Count));
			}
			Resize(Array, Struct, Array.Num - Count);
		}

		void Destruct(FRawStructArray& Array, const UScriptStruct* Struct)
		{
			Resize(Array, Struct, 0);
			if (Array.Data)
			{
				::operator delete(Array.Data, std::align_val_t(static_cast<size_t>(ElementAlignment(Struct))));
			}
			Array = FRawStructArray();
		}

		void Copy(FRawStructArray& Dest, const FRawStructArray& Src, const UScriptStruct* Struct)
		{
			if (&Dest == &Src)
			{
				return;
			}
			Resize(Dest, Struct, Src.Num);
			for (int32 Index = 0; Index < Src.Num; ++Index)
			{
				Struct->CopyScriptStruct(Element(Dest, Struct, Index), Element(Src, Struct, Index));
			}
		}

		const UScriptStruct* StructOf(const void* Context) { return static_cast<const UScriptStruct*>(Context); }
		FRawStructArray& Raw(void* Array) { return *static_cast<FRawStructArray*>(Array); }

		// The same operations for every run-time struct; the struct comes in as the context.
		const FScriptArrayOps StructArrayOps = {
			[](const void*, const void* Array) { return static_cast<const FRawStructArray*>(Array)->Num; },
			[](const void*, void* Array) { return static_cast<void*>(Raw(Array).Data); },
			[](const void* Context, void* Array, int32 NewNum) { Resize(Raw(Array), StructOf(Context), NewNum); },
			[](const void* Context, void* Array, int32 Index, int32 Count) { InsertDefaulted(Raw(Array), StructOf(Context), Index, Count); },
			[](const void* Context, void* Array, int32 Index, int32 Count) { Remove(Raw(Array), StructOf(Context), Index, Count); },
			[](const void*, void* Dest) { new (Dest) FRawStructArray(); },
			[](const void* Context, void* Dest) { Destruct(Raw(Dest), StructOf(Context)); },
			[](const void* Context, void* Dest, const void* Src) { Copy(Raw(Dest), *static_cast<const FRawStructArray*>(Src), StructOf(Context)); },
		};

		// One set of operations per struct, made on first use and kept until the header types go.
		std::unordered_map<const UScriptStruct*, std::unique_ptr<FScriptArrayOps>>& StructOpsByStruct()
		{
			static auto* Instance = new std::unordered_map<const UScriptStruct*, std::unique_ptr<FScriptArrayOps>>();
			return *Instance;
		}
	}

	void SetNativePlacement(const UClass* Class, UObject* (*Placement)(void* Memory))
	{
		State().Placements[Class] = Placement;
	}

	UObject* (*FindNativePlacement(const UClass* Class))(void*)
	{
		const auto Found = State().Placements.find(Class);
		return Found == State().Placements.end() ? nullptr : Found->second;
	}

	void SetExtendedLayout(const UClass* Class, std::unique_ptr<FExtendedLayout> Layout)
	{
		State().Layouts[Class] = std::move(Layout);
	}

	const FExtendedLayout* FindExtendedLayout(const UClass* Class)
	{
		const auto Found = State().Layouts.find(Class);
		return Found == State().Layouts.end() ? nullptr : Found->second.get();
	}

	void ClearExtendedLayouts()
	{
		State().Layouts.clear();
	}

	bool ImportDefaultValue(const FProperty* Property, void* Value, const FString& Text)
	{
		FDiscardOutput Discard;
		return Property->ImportText_Direct(*Text, Value, nullptr, PPF_None, &Discard) != nullptr;
	}

	UObject* NewObjectOfClass(const UClass* Class)
	{
		if (!Class)
		{
			return nullptr;
		}
		const FExtendedLayout* Layout = FindExtendedLayout(Class);
		if (!Layout)
		{
			// As the engine does, an object starts as zeroed memory, so the bits a constructor
			// leaves alone (the rest of a bitfield word, padding) read as zero.
			UObject* (*Placement)(void*) = FindNativePlacement(Class);
			if (!Placement)
			{
				return Class->NativeFactory ? Class->NativeFactory() : nullptr;
			}
			std::unique_ptr<FExtendedLayout>& Native = State().NativeLayouts[Class];
			if (!Native)
			{
				Native = std::make_unique<FExtendedLayout>();
				Native->Placement = Placement;
				Native->Size = FMath::Max(Class->GetPropertiesSize(), 1);
				Native->Alignment = FMath::Max(Class->GetMinAlignment(), static_cast<int32>(alignof(std::max_align_t)));
			}
			Layout = Native.get();
		}
		const size_t Size = static_cast<size_t>(AlignUp(Layout->Size, Layout->Alignment));
		void* Memory = ::operator new(Size, std::align_val_t(static_cast<size_t>(Layout->Alignment)));
		std::memset(Memory, 0, Size);
		UObject* Object = Layout->Placement(Memory);
		for (const FProperty* Property : Layout->Properties)
		{
			Property->InitializeValue(Property->ContainerPtrToValuePtr<void>(Object));
		}
		for (const TPair<const FProperty*, FString>& Default : Layout->Defaults)
		{
			ImportDefaultValue(Default.Key, Default.Key->ContainerPtrToValuePtr<void>(Object), Default.Value);
		}
		State().Objects[Object] = Layout;
		return Object;
	}

	void DeleteObject(UObject* Object)
	{
		if (!Object)
		{
			return;
		}
		const auto Found = State().Objects.find(Object);
		if (Found == State().Objects.end())
		{
			delete Object;
			return;
		}
		const FExtendedLayout* Layout = Found->second;
		State().Objects.erase(Found);
		for (const FProperty* Property : Layout->Properties)
		{
			Property->DestroyValue(Property->ContainerPtrToValuePtr<void>(Object));
		}
		Object->~UObject();
		::operator delete(static_cast<void*>(Object), std::align_val_t(static_cast<size_t>(Layout->Alignment)));
	}

	const FScriptArrayOps* AcquireStructArrayOps(const UScriptStruct* Struct)
	{
		std::unique_ptr<FScriptArrayOps>& Ops = StructOpsByStruct()[Struct];
		if (!Ops)
		{
			Ops = std::make_unique<FScriptArrayOps>(StructArrayOps);
			Ops->Context = Struct;
		}
		return Ops.get();
	}

	void ReleaseStructArrayOps()
	{
		StructOpsByStruct().clear();
	}
}
