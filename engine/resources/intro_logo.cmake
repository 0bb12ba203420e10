# The intro logo compiled into the engine: the data generator writes it as a source file
# (kv::engine::kIntroLogo, an image in .kvt format), which engine/module/resources.cpp lists as
# resource KV_RESOURCE_LOGO of type KV_RESOURCE_TYPE_IMAGE of the module "Kelvo Core.dll". It is
# generated into the build folder, never into the source tree.
set(KV_INTRO_LOGO_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/intro_logo.cpp)
add_custom_command(OUTPUT ${KV_INTRO_LOGO_SOURCE}
  COMMAND make_data --logo-source ${KV_INTRO_LOGO_SOURCE}
  DEPENDS make_data
  COMMENT "Drawing the intro logo into the engine module")
target_sources(kv_engine PRIVATE ${KV_INTRO_LOGO_SOURCE})
