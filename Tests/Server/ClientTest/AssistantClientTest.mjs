// Drives `orvex serve` with the official tool-calling client over stdio, as an assistant
// application would: every listed tool must match its registered action, take the arguments its
// schema describes and refuse a wrong-typed one by naming it.
//
// node AssistantClientTest.mjs --modules DIR --orvex PATH [--expect-tools N] [-- ORVEX ARGS...]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';

function parseArguments(argv) {
	const options = { modules: '', orvex: '', expectTools: -1, orvexArguments: [] };
	for (let index = 0; index < argv.length; ++index) {
		const argument = argv[index];
		if (argument === '--') {
			options.orvexArguments = argv.slice(index + 1);
			break;
		}
		const value = argv[++index];
		if (argument === '--modules') options.modules = value;
		else if (argument === '--orvex') options.orvex = value;
		else if (argument === '--expect-tools') options.expectTools = Number(value);
		else throw new Error(`unknown argument ${argument}`);
	}
	if (!options.modules || !options.orvex) {
		throw new Error('usage: --modules DIR --orvex PATH [--expect-tools N] [-- ORVEX ARGS...]');
	}
	return options;
}

const options = parseArguments(process.argv.slice(2));
if (!fs.existsSync(path.join(options.modules, '@modelcontextprotocol', 'sdk'))) {
	console.error(`The client packages are not installed in ${options.modules}: run scripts/bootstrap`);
	process.exit(1);
}
// The packages live in the build tree, not beside this file.
const requireFromModules = createRequire(path.join(options.modules, 'package.json'));
const { Client } = requireFromModules('@modelcontextprotocol/sdk/client/index.js');
const { StdioClientTransport } = requireFromModules('@modelcontextprotocol/sdk/client/stdio.js');
const { McpError } = requireFromModules('@modelcontextprotocol/sdk/types.js');
const Ajv2020 = requireFromModules('ajv/dist/2020.js').default;
const sdkVersion = JSON.parse(fs.readFileSync(path.join(options.modules, '@modelcontextprotocol', 'sdk', 'package.json'), 'utf8')).version;

// Arguments that succeed on the bundled sample project; set_setting only reports what it would do.
const sampleArguments = {
	config_resolve_setting: { file: 'Engine', section: '/Script/Engine.RendererSettings', key: 'r.RayTracing' },
	config_explain_setting: { setting: 'r.RayTracing' },
	config_diff_from_default: { file: 'Engine' },
	config_search_config: { query: 'RayTracing', category: 'Engine' },
	config_get_section: { file: 'Engine', section: '/Script/Engine.RendererSettings' },
	config_get_config_files: { category: 'Default' },
	config_set_setting: { class: 'RendererSettings', property: 'bEnableRayTracing', value: true, dry_run: true },
	localization_list_cultures: { culture_names: ['en'], include_derived: false, limit: 5 },
	localization_list_string_tables: { path: '/Game', limit: 10 },
	localization_get_string_table: { entry_limit: 10 },
	localization_validate_string_table: { issue_limit: 10 },
	project_settings_classes: { filter: 'renderer', limit: 5 },
	project_settings_class: { class: 'URendererSettings' },
	project_config_origin: { category: 'Engine', section: '/Script/Engine.RendererSettings', key: 'r.RayTracing' },
};

// The program's own tools, listed after the actions' tools while the config namespace is on.
const programTools = {
	project_settings_classes: { properties: ['filter', 'offset', 'limit'], required: [] },
	project_settings_class: { properties: ['class'], required: ['class'] },
	project_config_origin: { properties: ['category', 'section', 'key'], required: ['category', 'section', 'key'] },
};
const readOnly = { readOnlyHint: true, destructiveHint: false, idempotentHint: true };

// Hints per tool: config tools read, but for set_setting; other namespaces carry their own.
function expectedHints(toolName, namespace) {
	if (toolName in programTools) return readOnly;
	if (toolName === 'config_set_setting') return { readOnlyHint: false, destructiveHint: true, idempotentHint: true };
	if (namespace.name === 'config') return readOnly;
	return namespace.annotations ? {
		readOnlyHint: namespace.annotations.read_only,
		destructiveHint: namespace.annotations.destructive,
		idempotentHint: namespace.annotations.idempotent,
	} : undefined;
}

function expectedShape(parameters) {
	const properties = [];
	const required = [];
	for (const [name, descriptor] of Object.entries(parameters)) {
		const aliases = descriptor.aliases ?? [];
		properties.push(name, ...aliases);
		if (descriptor.required && aliases.length === 0) {
			required.push(name);
		}
	}
	return { properties, required };
}

function wrongValueFor(property) {
	return property.type === 'string' ? 42 : 'not of the declared type';
}

async function expectProtocolError(promise, code, what) {
	await assert.rejects(promise, (error) => error instanceof McpError && error.code === code, what);
}

const userDir = fs.mkdtempSync(path.join(os.tmpdir(), 'orvex-client-'));
const orvexArguments = ['--user-dir', userDir, ...options.orvexArguments];
const catalog = JSON.parse(execFileSync(options.orvex, [...orvexArguments, '--compact', 'actions'], { encoding: 'utf8' }));
const registered = new Map();
for (const namespace of catalog.namespaces.filter((entry) => entry.enabled)) {
	for (const action of namespace.actions) {
		registered.set(`${namespace.name}_${action.name}`, { namespace, action });
	}
}
const configEnabled = catalog.namespaces.some((entry) => entry.name === 'config' && entry.enabled);
const expectedNames = [...registered.keys(), ...(configEnabled ? Object.keys(programTools) : [])];

const clientErrors = [];
const client = new Client({ name: 'orvex-client-test', version: '1.0.0' });
client.onerror = (error) => clientErrors.push(error);
const transport = new StdioClientTransport({ command: options.orvex, args: [...orvexArguments, 'serve'], stderr: 'inherit' });

let checkedCalls = 0;
try {
	await client.connect(transport);
	assert.equal(client.getServerVersion()?.name, 'orvex');
	assert.ok(client.getServerCapabilities()?.tools, 'the server offers tools');

	const { tools, nextCursor } = await client.listTools();
	assert.equal(nextCursor, undefined, 'one page of tools');
	if (options.expectTools >= 0) {
		assert.equal(tools.length, options.expectTools, 'tool count');
	}
	assert.deepEqual(tools.map((tool) => tool.name), expectedNames, 'one tool per registered action, then the program tools');

	const ajv = new Ajv2020({ strict: true, allErrors: true });
	for (const tool of tools) {
		assert.match(tool.name, /^[A-Za-z0-9_]+$/, tool.name);
		assert.ok(tool.title, `${tool.name} has a title`);
		assert.ok(tool.description, `${tool.name} has a description`);
		const { namespace, action } = registered.get(tool.name) ?? { namespace: { name: 'program' } };
		if (action) {
			assert.equal(tool.description, action.description, `${tool.name} description`);
		}
		const expected = action ? expectedShape(action.parameters) : programTools[tool.name];
		assert.deepEqual(Object.keys(tool.inputSchema.properties), expected.properties, `${tool.name} properties`);
		assert.deepEqual(tool.inputSchema.required ?? [], expected.required, `${tool.name} required`);
		assert.equal(tool.inputSchema.additionalProperties, false, `${tool.name} allows no other properties`);
		assert.deepEqual(tool.annotations, expectedHints(tool.name, namespace), `${tool.name} hints`);
		const validate = ajv.compile(tool.inputSchema);

		const valid = { ...sampleArguments[tool.name] };
		assert.ok(sampleArguments[tool.name], `sample arguments for ${tool.name}`);
		if ('asset_path' in tool.inputSchema.properties) {
			valid.asset_path = '/Game/Localization/Dialogue/ST_Dialogue';
		}
		assert.ok(validate(valid), `${tool.name} schema accepts ${JSON.stringify(valid)}: ${ajv.errorsText(validate.errors)}`);
		const result = await client.callTool({ name: tool.name, arguments: valid });
		assert.equal(result.isError, false, `${tool.name} succeeds: ${result.content?.[0]?.text}`);
		assert.deepEqual(JSON.parse(result.content[0].text), result.structuredContent, `${tool.name} text is the structured content`);

		const [typed, property] = Object.entries(tool.inputSchema.properties).find(([, schema]) => schema.type) ?? [];
		if (typed) {
			const wrong = { ...valid, [typed]: wrongValueFor(property) };
			assert.equal(validate(wrong), false, `${tool.name} schema refuses a wrong ${typed}`);
			const refused = await client.callTool({ name: tool.name, arguments: wrong });
			assert.equal(refused.isError, true, `${tool.name} refuses a wrong ${typed}`);
			assert.equal(refused.structuredContent.parameter, typed, `${tool.name} names ${typed}`);
			assert.ok(refused.structuredContent.message.includes(`'${typed}'`), refused.structuredContent.message);
			assert.deepEqual(JSON.parse(refused.content[0].text), refused.structuredContent, `${tool.name} error text is the structured content`);
		}
		checkedCalls += 1;
	}

	// A disabled namespace registers no actions, so any tool name under it explains the reason, and
	// so do the program tools that read the configuration.
	for (const namespace of catalog.namespaces.filter((entry) => !entry.enabled)) {
		const names = [`${namespace.name}_get_config_files`, ...(namespace.name === 'config' ? Object.keys(programTools) : [])];
		for (const name of names) {
			const refused = await client.callTool({ name, arguments: {} });
			assert.equal(refused.isError, true, `${name}: ${namespace.name} is disabled`);
			assert.equal(refused.structuredContent.message, namespace.disabled_reason);
		}
	}
	await expectProtocolError(client.callTool({ name: 'no_such_tool', arguments: {} }), -32602, 'an unknown tool');
	await expectProtocolError(client.listTools({ cursor: 'no-such-page' }), -32602, 'an invalid cursor');
	await client.ping();
} finally {
	await client.close();
	fs.rmSync(userDir, { recursive: true, force: true });
}

assert.deepEqual(clientErrors, [], 'the client reported no errors');
console.log(`SDK ${sdkVersion}: ${checkedCalls} tools listed, validated and called`);
