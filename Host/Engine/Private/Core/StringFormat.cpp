// The engine's printf dialect over TCHAR: %s takes a TCHAR string, %hs a narrow one; numbers
// follow the C library's conversions.
#include "Containers/UnrealString.h"

#include <cstdio>
#include <string>

namespace
{
	using UE::Host::Format::FArg;

	struct FSpec
	{
		std::string Flags;
		int32 Width = -1;
		int32 Precision = -1;
		bool bNarrowString = false;
		TCHAR Conversion = 0;
	};

	int64 AsSigned(const FArg& Arg)
	{
		switch (Arg.Kind)
		{
		case FArg::EKind::Signed: return Arg.Signed;
		case FArg::EKind::Unsigned: return static_cast<int64>(Arg.Unsigned);
		case FArg::EKind::Double: return static_cast<int64>(Arg.Double);
		default: return 0;
		}
	}

	uint64 AsUnsigned(const FArg& Arg)
	{
		switch (Arg.Kind)
		{
		case FArg::EKind::Signed: return static_cast<uint64>(Arg.Signed);
		case FArg::EKind::Unsigned: return Arg.Unsigned;
		case FArg::EKind::Double: return static_cast<uint64>(Arg.Double);
		default: return 0;
		}
	}

	double AsDouble(const FArg& Arg)
	{
		switch (Arg.Kind)
		{
		case FArg::EKind::Signed: return static_cast<double>(Arg.Signed);
		case FArg::EKind::Unsigned: return static_cast<double>(Arg.Unsigned);
		case FArg::EKind::Double: return Arg.Double;
		default: return 0.0;
		}
	}

	std::string NarrowSpec(const FSpec& Spec, const char* Length, char Conversion)
	{
		std::string Out = "%" + Spec.Flags;
		if (Spec.Width >= 0)
		{
			Out += std::to_string(Spec.Width);
		}
		if (Spec.Precision >= 0)
		{
			Out += "." + std::to_string(Spec.Precision);
		}
		Out += Length;
		Out.push_back(Conversion);
		return Out;
	}

	template<typename T>
	void AppendFormatted(FString& Out, const std::string& Format, T Value)
	{
		char Buffer[512];
		const int Written = std::snprintf(Buffer, sizeof(Buffer), Format.c_str(), Value);
		if (Written < 0)
		{
			return;
		}
		if (static_cast<size_t>(Written) < sizeof(Buffer))
		{
			Out += FString(Buffer);
			return;
		}
		std::string Large(static_cast<size_t>(Written) + 1, '\0');
		std::snprintf(Large.data(), Large.size(), Format.c_str(), Value);
		Large.resize(static_cast<size_t>(Written));
		Out += FString(Large.c_str());
	}

	void AppendPadded(FString& Out, const FString& Text, const FSpec& Spec)
	{
		const FString Cut = Spec.Precision >= 0 ? Text.Left(Spec.Precision) : Text;
		const int32 Pad = Spec.Width > Cut.Len() ? Spec.Width - Cut.Len() : 0;
		const bool bLeft = Spec.Flags.find('-') != std::string::npos;
		if (!bLeft)
		{
			Out += FString::ChrN(Pad, ' ');
		}
		Out += Cut;
		if (bLeft)
		{
			Out += FString::ChrN(Pad, ' ');
		}
	}
}

FString FString::PrintfImpl(const TCHAR* Fmt, const FArg* Args, int32 NumArgs)
{
	FString Out;
	int32 NextArg = 0;
	auto TakeArg = [&]() -> const FArg*
	{
		return NextArg < NumArgs ? &Args[NextArg++] : nullptr;
	};

	for (const TCHAR* P = Fmt; P && *P; ++P)
	{
		if (*P != '%')
		{
			Out.AppendChar(*P);
			continue;
		}
		++P;
		if (*P == '%')
		{
			Out.AppendChar('%');
			continue;
		}
		FSpec Spec;
		while (*P == '-' || *P == '+' || *P == ' ' || *P == '#' || *P == '0')
		{
			Spec.Flags.push_back(static_cast<char>(*P++));
		}
		if (*P == '*')
		{
			const FArg* WidthArg = TakeArg();
			Spec.Width = WidthArg ? static_cast<int32>(AsSigned(*WidthArg)) : 0;
			++P;
		}
		else
		{
			while (FChar::IsDigit(*P))
			{
				Spec.Width = (Spec.Width < 0 ? 0 : Spec.Width * 10) + (*P++ - '0');
			}
		}
		if (*P == '.')
		{
			++P;
			Spec.Precision = 0;
			if (*P == '*')
			{
				const FArg* PrecisionArg = TakeArg();
				Spec.Precision = PrecisionArg ? static_cast<int32>(AsSigned(*PrecisionArg)) : 0;
				++P;
			}
			while (FChar::IsDigit(*P))
			{
				Spec.Precision = Spec.Precision * 10 + (*P++ - '0');
			}
		}
		// Length modifiers only matter for %hs; the argument's own type decides the rest.
		while (*P == 'l' || *P == 'h' || *P == 'z' || *P == 'j' || *P == 't' || *P == 'L' || *P == 'I' || *P == '6' || *P == '4')
		{
			if (*P == 'h')
			{
				Spec.bNarrowString = true;
			}
			++P;
		}
		if (*P == 0)
		{
			break;
		}
		Spec.Conversion = *P;
		const FArg* Arg = TakeArg();
		if (!Arg)
		{
			continue;
		}
		switch (Spec.Conversion)
		{
		case 'd':
		case 'i':
			AppendFormatted(Out, NarrowSpec(Spec, "ll", 'd'), static_cast<long long>(AsSigned(*Arg)));
			break;
		case 'u':
		case 'x':
		case 'X':
		case 'o':
			AppendFormatted(Out, NarrowSpec(Spec, "ll", static_cast<char>(Spec.Conversion)), static_cast<unsigned long long>(AsUnsigned(*Arg)));
			break;
		case 'f':
		case 'F':
		case 'e':
		case 'E':
		case 'g':
		case 'G':
			AppendFormatted(Out, NarrowSpec(Spec, "", static_cast<char>(Spec.Conversion)), AsDouble(*Arg));
			break;
		case 'c':
			AppendPadded(Out, FString::Chr(static_cast<TCHAR>(AsUnsigned(*Arg))), Spec);
			break;
		case 'p':
			AppendFormatted(Out, "%p", Arg->Kind == FArg::EKind::Pointer ? Arg->Pointer : nullptr);
			break;
		case 's':
		case 'S':
			if (Arg->Kind == FArg::EKind::WideString)
			{
				AppendPadded(Out, FString(Arg->WideString ? Arg->WideString : u"(null)"), Spec);
			}
			else if (Arg->Kind == FArg::EKind::AnsiString)
			{
				AppendPadded(Out, FString(Arg->AnsiString ? Arg->AnsiString : "(null)"), Spec);
			}
			break;
		default:
			Out.AppendChar('%');
			Out.AppendChar(Spec.Conversion);
			break;
		}
	}
	return Out;
}
