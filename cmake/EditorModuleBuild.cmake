# The module compiled the way the editor's build tool compiles it: every .cpp of the module
# (its automation checks included) concatenated into one unity file, without exceptions and
# without RTTI, warnings as errors, once with the project's compiler and once with the other of
# GCC and Clang. A file-scope name defined twice, a using-directive that leaks into the next file,
# or an engine call the stand-in offers but the engine lacks fails the default build here.

file(GLOB_RECURSE ORVEX_MODULE_UNITY_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/Source/OrvexConfig/Private/*.cpp)
list(SORT ORVEX_MODULE_UNITY_SOURCES)
set(ORVEX_MODULE_UNITY_TEXT "// Generated: the module's sources as one translation unit.\n")
foreach(Source IN LISTS ORVEX_MODULE_UNITY_SOURCES)
	string(APPEND ORVEX_MODULE_UNITY_TEXT "#include \"${Source}\"\n")
endforeach()
set(ORVEX_MODULE_UNITY_FILE ${CMAKE_BINARY_DIR}/EditorModuleBuild/Module.OrvexConfig.cpp)
# Rewritten only when the list changes, so an unchanged tree rebuilds nothing.
file(CONFIGURE OUTPUT ${ORVEX_MODULE_UNITY_FILE} CONTENT "${ORVEX_MODULE_UNITY_TEXT}" @ONLY)

# The generated headers stand where the editor's build puts the engine's and the plugin's own.
set(ORVEX_MODULE_UNITY_INCLUDES
	${PROJECT_SOURCE_DIR}/Source/OrvexConfig/Public
	${PROJECT_SOURCE_DIR}/Source/OrvexConfig/Private
	${PROJECT_SOURCE_DIR}/Host/OrvexCore/Public
	${CMAKE_BINARY_DIR}/Generated/OrvexCore/Inc
	${PROJECT_SOURCE_DIR}/Host/Engine/Public
	${CMAKE_BINARY_DIR}/Generated/OrvexEngine/Inc)
# Shadowed variables and undefined macros in #if are errors under the editor's default module rules.
set(ORVEX_MODULE_UNITY_FLAGS -fno-exceptions -fno-rtti -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers -Wshadow -Wundef -Werror)
set(ORVEX_MODULE_UNITY_GCC_FLAGS -Wno-restrict -Wno-maybe-uninitialized)

# The project's compiler.
add_library(OrvexConfigEditorUnity OBJECT ${ORVEX_MODULE_UNITY_FILE})
target_include_directories(OrvexConfigEditorUnity PRIVATE ${ORVEX_MODULE_UNITY_INCLUDES})
target_compile_options(OrvexConfigEditorUnity PRIVATE ${ORVEX_MODULE_UNITY_FLAGS})
add_dependencies(OrvexConfigEditorUnity OrvexEngineReflection OrvexCoreReflection)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
	target_compile_options(OrvexConfigEditorUnity PRIVATE ${ORVEX_MODULE_UNITY_GCC_FLAGS})
endif()

# The other compiler, called directly: a CMake project has only one C++ compiler.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
	find_program(ORVEX_SECOND_CXX NAMES clang++ REQUIRED)
	set(ORVEX_SECOND_CXX_NAME Clang)
	set(ORVEX_SECOND_CXX_FLAGS ${ORVEX_MODULE_UNITY_FLAGS})
else()
	find_program(ORVEX_SECOND_CXX NAMES g++ REQUIRED)
	set(ORVEX_SECOND_CXX_NAME GCC)
	set(ORVEX_SECOND_CXX_FLAGS ${ORVEX_MODULE_UNITY_FLAGS} ${ORVEX_MODULE_UNITY_GCC_FLAGS})
endif()
set(ORVEX_SECOND_CXX_INCLUDES)
foreach(Directory IN LISTS ORVEX_MODULE_UNITY_INCLUDES)
	list(APPEND ORVEX_SECOND_CXX_INCLUDES -I${Directory})
endforeach()
set(ORVEX_SECOND_CXX_OBJECT ${CMAKE_BINARY_DIR}/EditorModuleBuild/Module.OrvexConfig.${ORVEX_SECOND_CXX_NAME}.o)
set(ORVEX_SECOND_CXX_LAUNCHER)
if(CCACHE_PROGRAM)
	set(ORVEX_SECOND_CXX_LAUNCHER ${CCACHE_PROGRAM})
endif()
add_custom_command(
	OUTPUT ${ORVEX_SECOND_CXX_OBJECT}
	COMMAND ${ORVEX_SECOND_CXX_LAUNCHER} ${ORVEX_SECOND_CXX} -std=c++20 -O2 ${ORVEX_SECOND_CXX_FLAGS} ${ORVEX_SECOND_CXX_INCLUDES}
		-MD -MF ${ORVEX_SECOND_CXX_OBJECT}.d -c ${ORVEX_MODULE_UNITY_FILE} -o ${ORVEX_SECOND_CXX_OBJECT}
	DEPENDS ${ORVEX_MODULE_UNITY_FILE} ${ORVEX_MODULE_UNITY_SOURCES}
	DEPFILE ${ORVEX_SECOND_CXX_OBJECT}.d
	COMMENT "Building the module as one unity file with ${ORVEX_SECOND_CXX_NAME}"
	VERBATIM)
add_custom_target(OrvexConfigEditorUnity${ORVEX_SECOND_CXX_NAME} ALL DEPENDS ${ORVEX_SECOND_CXX_OBJECT})
add_dependencies(OrvexConfigEditorUnity${ORVEX_SECOND_CXX_NAME} OrvexEngineReflection OrvexCoreReflection)
