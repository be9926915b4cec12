# A form resource as a program embeds it: the form text with the program's
# packed skin written in as "SkinStream" (tools/embed-skin.cmake), made by
# the target `target` into `out`.
function(qv_form_with_skin target form out)
  set(skin ${CMAKE_SOURCE_DIR}/assets/skin/quillvault.skin)
  set(script ${CMAKE_SOURCE_DIR}/tools/embed-skin.cmake)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DFORM=${form} -DSKIN=${skin} -DOUT=${out} -P ${script}
    DEPENDS ${form} ${skin} ${script})
  add_custom_target(${target} DEPENDS ${out})
endfunction()
