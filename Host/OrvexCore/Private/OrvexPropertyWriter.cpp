#include "OrvexPropertyWriter.h"

#include "OrvexJsonPropertyValue.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/UnrealType.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace
{
	// The property's complete value in memory of its own: the conversion works on this copy, so
	// a value refused half-way changes nothing.
	class FPropertyValueCopy
	{
	public:
		FPropertyValueCopy(const FProperty* InProperty, const void* Source)
			: Property(InProperty)
			, Alignment(static_cast<std::align_val_t>(FMath::Max(InProperty->GetMinAlignment(), static_cast<int32>(alignof(std::max_align_t)))))
		{
			const size_t Size = static_cast<size_t>(FMath::Max(Property->GetSize(), 1));
			Data = ::operator new(Size, Alignment);
			// Bitfields copy only their own bit; the rest of the byte is zero, not garbage.
			std::memset(Data, 0, Size);
			Property->InitializeValue(Data);
			Property->CopyCompleteValue(Data, Source);
		}
		~FPropertyValueCopy()
		{
			Property->DestroyValue(Data);
			::operator delete(Data, Alignment);
		}
		FPropertyValueCopy(const FPropertyValueCopy&) = delete;
		FPropertyValueCopy& operator=(const FPropertyValueCopy&) = delete;

		void* Get() const { return Data; }

	private:
		const FProperty* Property;
		std::align_val_t Alignment;
		void* Data = nullptr;
	};
}

namespace Orvex::PropertyWriter
{
	FWriteResult WriteProperty(UObject* Object, FProperty* Property, const TSharedPtr<FJsonValue>& Value, const FWriteOptions& Options)
	{
		FWriteResult Result;
		if (!Object || !Property)
		{
			Result.ErrorMessage = TEXT("No object or no property was given to write");
			return Result;
		}
		const UStruct* Owner = Property->GetOwnerStruct();
		if (!Owner || !Object->GetClass()->IsChildOf(Owner))
		{
			Result.ErrorMessage = FString::Printf(TEXT("Property '%s' does not belong to %s"), *Property->GetName(), *Object->GetClass()->GetName());
			return Result;
		}
		if (!Options.bAllowNonConfig && !Property->HasAnyPropertyFlags(CPF_Config))
		{
			Result.ErrorMessage = FString::Printf(TEXT("Property '%s' is not a config property"), *Property->GetName());
			return Result;
		}

		void* Target = Property->ContainerPtrToValuePtr<void>(Object);
		FPropertyValueCopy Copy(Property, Target);
		Private::FConversion Conversion;
		Conversion.Owner = Object;
		Conversion.bClampToMetaRange = Options.bClampToMetaRange;
		if (!Private::ConvertCompleteValue(Property, Copy.Get(), Value, Private::FValuePath{Property->GetName(), true}, Conversion, Result.ErrorMessage))
		{
			return Result;
		}
		if (Options.bValidateOnly)
		{
			Property->ExportText_Direct(Result.NewValueText, Copy.Get(), nullptr, Object, PPF_None);
			Result.bSuccess = true;
			return Result;
		}

#if WITH_EDITOR
		if (Options.bNotify)
		{
			Object->PreEditChange(Property);
		}
#endif
		Property->CopyCompleteValue(Target, Copy.Get());
#if WITH_EDITOR
		if (Options.bNotify)
		{
			FPropertyChangedEvent Event(Property, EPropertyChangeType::ValueSet);
			Object->PostEditChangeProperty(Event);
		}
#endif
		Property->ExportText_InContainer(0, Result.NewValueText, Object, nullptr, Object, PPF_None);
		Result.bSuccess = true;
		return Result;
	}
}
