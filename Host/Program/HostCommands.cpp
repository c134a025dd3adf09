#include "HostCommands.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/ConfigSystem.h"
#include "Host/JsonText.h"
#include "Host/ObjectSystem.h"
#include "HostOptions.h"
#include "OrvexActionCatalog.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"
#include "ProgramTools.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
	// Longest message line the server accepts; anything longer is refused whole.
	constexpr size_t MaxLineBytes = 16 * 1024 * 1024;

	int UsageError(const FString& Message)
	{
		std::fprintf(stderr, "orvex: %s\n", UE::Host::StringToUtf8(Message).c_str());
		return 2;
	}
}

void PrintJson(const FHostOptions& Options, const TSharedRef<FJsonObject>& Object)
{
	const std::string Text = UE::Host::Json::ToUtf8(Object, !Options.bCompact);
	std::fwrite(Text.data(), 1, Text.size(), stdout);
	std::fputc('\n', stdout);
	std::fflush(stdout);
}

int RunActionsCommand(const FHostOptions& Options)
{
	const FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();
	const FString OnlyNamespace = UE::Host::Utf8ToString(Options.Namespace);
	if (!OnlyNamespace.IsEmpty() && !Registry.GetNamespaces().ContainsByPredicate([&OnlyNamespace](const FString& Name) { return Name.Equals(OnlyNamespace); }))
	{
		return UsageError(FString::Printf(TEXT("unknown namespace '%s' (see 'orvex actions')"), *OnlyNamespace));
	}
	PrintJson(Options, OrvexCore::BuildActionCatalog(Registry, OnlyNamespace));
	return 0;
}

int RunCallCommand(const FHostOptions& Options)
{
	const FString Method = UE::Host::Utf8ToString(Options.Method);
	FString Namespace;
	FString Action;
	if (!Method.Split(TEXT("."), &Namespace, &Action, ESearchCase::CaseSensitive) || Namespace.IsEmpty() || Action.IsEmpty())
	{
		return UsageError(FString::Printf(TEXT("'%s' is not NAMESPACE.ACTION"), *Method));
	}
	const FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();
	if (!Registry.HasAction(Namespace, Action) && !Registry.IsNamespaceDisabled(Namespace))
	{
		return UsageError(FString::Printf(TEXT("unknown action '%s' (see 'orvex actions')"), *Method));
	}

	std::string ParamsText = Options.ParamsText;
	if (ParamsText == "-")
	{
		ParamsText.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
	}
	TSharedPtr<FJsonObject> Params = MakeShared<FJsonObject>();
	if (!ParamsText.empty())
	{
		TSharedPtr<FJsonValue> Parsed;
		UE::Host::Json::FJsonSourceFacts Facts;
		FString ParseError;
		if (!UE::Host::Json::ParseUtf8(ParamsText, Parsed, Facts, ParseError))
		{
			return UsageError(FString::Printf(TEXT("malformed JSON parameters: %s"), *ParseError));
		}
		if (Parsed->Type != EJson::Object)
		{
			return UsageError(TEXT("parameters must be a JSON object"));
		}
		// Read as strictly as the server reads them.
		using UE::Host::Json::FJsonStrictProblem;
		const FJsonStrictProblem Problem = UE::Host::Json::FindStrictProblem(Parsed, &Facts, FString());
		if (Problem.Kind == FJsonStrictProblem::EKind::RepeatedName)
		{
			return UsageError(FString::Printf(TEXT("malformed JSON parameters: member '%s' appears more than once"), *Problem.Where));
		}
		if (Problem.Kind == FJsonStrictProblem::EKind::NulCharacter)
		{
			return UsageError(FString::Printf(TEXT("malformed JSON parameters: '%s' contains U+0000"), *Problem.Where));
		}
		Params = Parsed->AsObject();
	}

	const FOrvexActionResult Outcome = Registry.ExecuteAction(Namespace, Action, Params);
	if (Outcome.bSuccess)
	{
		PrintJson(Options, Outcome.Result.IsValid() ? Outcome.Result.ToSharedRef() : MakeShared<FJsonObject>());
		return 0;
	}
	TSharedRef<FJsonObject> Error = MakeShared<FJsonObject>();
	Error->SetNumberField(TEXT("code"), Outcome.ErrorCode);
	Error->SetStringField(TEXT("message"), Outcome.ErrorMessage);
	if (Outcome.Result.IsValid())
	{
		Error->SetObjectField(TEXT("data"), Outcome.Result);
	}
	PrintJson(Options, Error);
	return 1;
}

int RunServeCommand(const FHostOptions& Options, std::FILE* Input, std::FILE* Output)
{
	FOrvexJsonRpcDispatcher Dispatcher(FOrvexToolRegistry::Get());
	AddProgramTools(Dispatcher.GetMcpSession());
	const int InputFd = fileno(Input);
	std::string Line;
	bool bOversized = false;
	std::vector<char> Buffer(64 * 1024);

	auto Reply = [Output](const std::string& Text)
	{
		if (!Text.empty())
		{
			std::fwrite(Text.data(), 1, Text.size(), Output);
			std::fputc('\n', Output);
			std::fflush(Output);
		}
	};

	// Complete lines of the latest read, in order; an oversized line is kept as its refusal.
	struct FPendingLine
	{
		std::string Text;
		bool bOversized = false;
		bool bHandled = false;
	};
	std::vector<FPendingLine> Pending;

	auto FinishLine = [&]()
	{
		if (bOversized)
		{
			Pending.push_back(FPendingLine{std::string(), true});
		}
		else
		{
			if (!Line.empty() && Line.back() == '\r')
			{
				Line.pop_back();
			}
			if (Line.find_first_not_of(" \t") != std::string::npos)
			{
				Pending.push_back(FPendingLine{std::move(Line), false});
			}
		}
		Line.clear();
		bOversized = false;
	};

	auto HandlePending = [&]()
	{
		// Cancellations that have already arrived count before the requests read with them.
		for (size_t Index = 1; Index < Pending.size(); ++Index)
		{
			if (!Pending[Index].bOversized)
			{
				Pending[Index].bHandled = Dispatcher.HandleCancellationAhead(Pending[Index].Text);
			}
		}
		for (const FPendingLine& Entry : Pending)
		{
			if (Entry.bOversized)
			{
				Reply(FOrvexJsonRpcDispatcher::MakeErrorLine(OrvexErrorCodes::InvalidRequest,
					FString::Printf(TEXT("Invalid Request: message longer than %d bytes"), static_cast<int32>(MaxLineBytes))));
			}
			else if (!Entry.bHandled)
			{
				// Edits other programs made to the config files since the last request are read first.
				UE::Host::ReloadDefaultObjectsConfig(UE::Host::RefreshConfigFromDisk());
				Reply(Dispatcher.HandleLine(Entry.Text));
			}
		}
		Pending.clear();
	};

	// read() rather than stdio, so that each line is answered as soon as it arrives.
	while (true)
	{
		const ssize_t Count = read(InputFd, Buffer.data(), Buffer.size());
		if (Count < 0 && errno == EINTR)
		{
			continue;
		}
		if (Count <= 0)
		{
			break;
		}
		const char* Cursor = Buffer.data();
		const char* const End = Buffer.data() + Count;
		while (Cursor < End)
		{
			const char* NewLine = static_cast<const char*>(std::memchr(Cursor, '\n', static_cast<size_t>(End - Cursor)));
			const char* PieceEnd = NewLine ? NewLine : End;
			const size_t Piece = static_cast<size_t>(PieceEnd - Cursor);
			if (!bOversized)
			{
				if (Line.size() + Piece > MaxLineBytes)
				{
					bOversized = true;
					std::string().swap(Line);
				}
				else
				{
					Line.append(Cursor, Piece);
				}
			}
			Cursor = PieceEnd;
			if (NewLine)
			{
				FinishLine();
				++Cursor;
			}
		}
		HandlePending();
	}
	if (!Line.empty() || bOversized)
	{
		FinishLine();
	}
	HandlePending();
	return 0;
}
