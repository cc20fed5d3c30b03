# The folders of src/ as layers, lowest first, and the folders each layer may include. A layer
# names only layers before it, so the folders form no cycle. The build compiles each layer with
# an include path of just these folders; tools/check-layers.cmake checks every #include of
# src/ against the same table.
set(ORV_LAYERS platform dsp params engine toolkit host editor plugin)

set(ORV_LAYER_USES_platform "")
set(ORV_LAYER_USES_dsp platform)
set(ORV_LAYER_USES_params platform)
set(ORV_LAYER_USES_engine platform dsp params)
set(ORV_LAYER_USES_toolkit platform)
set(ORV_LAYER_USES_host platform toolkit)
set(ORV_LAYER_USES_editor platform params toolkit host)
set(ORV_LAYER_USES_plugin platform dsp params engine toolkit host editor)

# The headless core: no window system, drawing or font library, no host or editor code.
set(ORV_CORE_LAYERS platform dsp params engine)
